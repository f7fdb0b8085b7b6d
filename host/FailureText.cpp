// SPDX-License-Identifier: MIT
#include "FailureText.h"

#include <QCoreApplication>
#include <QLabel>

QString failureText(const QString &name, const PreviewError &error)
{
    QString text = QCoreApplication::translate("Host", "\u201c%1\u201d cannot be previewed.").arg(name)
        + QStringLiteral("\n\n") + error.message;
    // Archive previews switched off: the message stays as callers know it,
    // and the window says where the switch is.
    if (error.domain == QLatin1String("Trellin_Extension.ZipError") && error.code == 0) {
        text += QStringLiteral("\n\n")
            + QCoreApplication::translate("Host", "Archive previews are switched off: turn on \u201cPreview archives\u201d "
                                                  "in Trellin Settings, or run \u201ctrellin-settings set previewZipFiles true\u201d.");
    }
    return text;
}

QLabel *makeFailureLabel()
{
    auto *label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMargin(24);
    return label;
}
