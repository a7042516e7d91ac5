#include "platform/ui/DefaultFont.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

void SetDefaultFont(QWidget *control, TFontKind kind)
{
    if (!control)
        return;
    if (kind == TFontKind::fkAuto) {
        const bool isText = qobject_cast<QTextEdit *>(control) != nullptr ||
                            qobject_cast<QPlainTextEdit *>(control) != nullptr;
        kind = isText ? TFontKind::fkText : TFontKind::fkInterface;
    }
    control->setFont(defaultFont(kind));
}

QFont defaultFont(TFontKind kind)
{
    return QFontDatabase::systemFont(kind == TFontKind::fkText ? QFontDatabase::FixedFont
                                                               : QFontDatabase::GeneralFont);
}
