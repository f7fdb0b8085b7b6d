// SPDX-License-Identifier: MIT
#include "ViewController.h"

ViewController::ViewController(QObject *parent)
    : QObject(parent)
{
}

ViewController::~ViewController()
{
    // A view that no window adopted is still ours.
    if (m_view && !m_view->parentWidget())
        delete m_view.data();
}

QWidget *ViewController::view()
{
    if (!m_view)
        loadView();
    return m_view;
}

void ViewController::loadView()
{
    setView(new QWidget);
}

void ViewController::setView(QWidget *view)
{
    m_view = view;
}
