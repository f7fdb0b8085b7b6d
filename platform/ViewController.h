// SPDX-License-Identifier: MIT
// The platform's view controller: owns a view that it loads on first use and
// a general-purpose represented object.
#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <memory>

class ViewController : public QObject
{
    Q_OBJECT

public:
    explicit ViewController(QObject *parent = nullptr);
    ~ViewController() override;

    /// The name of the user-interface definition that loadView builds.
    virtual QString nibName() const { return {}; }

    /// Loads the view on first use. The controller owns it until someone
    /// reparents it into a window of their own, which then owns it.
    QWidget *view();

    QVariant representedObject() const { return m_representedObject; }
    void setRepresentedObject(const QVariant &object) { m_representedObject = object; }

protected:
    /// Builds the view and hands it over with setView. The base makes an empty widget.
    virtual void loadView();
    void setView(QWidget *view);

private:
    QPointer<QWidget> m_view;
    QVariant m_representedObject;
};
