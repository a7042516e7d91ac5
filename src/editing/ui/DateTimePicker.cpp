#include "editing/ui/DateTimePicker.h"

#include <QKeyEvent>
#include <QLineEdit>

const QString TDateTimePicker::BlankFormat = QStringLiteral(" ");

TDateTimePicker::TDateTimePicker(Kind kind, const QString &format, QWidget *parent)
    : QDateTimeEdit(kind == Kind::Date ? QVariant(QDate::currentDate())
                                       : QVariant(QTime::currentTime()),
                    kind == Kind::Date ? QMetaType::QDate : QMetaType::QTime, parent),
      m_format(format)
{
    setDisplayFormat(format);
    if (kind == Kind::Date)
        setCalendarPopup(true);
    // A click on the text goes to the inner field, a click on the arrows to the picker itself.
    lineEdit()->installEventFilter(this);
}

bool TDateTimePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress)
        setBlank(false);
    return QDateTimeEdit::eventFilter(watched, event);
}

QString TDateTimePicker::Format() const
{
    return m_blank ? BlankFormat : m_format;
}

void TDateTimePicker::setFormat(const QString &format)
{
    if (format == BlankFormat) {
        setBlank(true);
        return;
    }
    m_format = format;
    m_blank = false;
    setDisplayFormat(format);
}

void TDateTimePicker::setBlank(bool blank)
{
    if (m_blank == blank)
        return;
    m_blank = blank;
    // Setting the format again redraws the text from the value.
    setDisplayFormat(m_format);
    if (blank)
        lineEdit()->deselect();
}

QString TDateTimePicker::textFromDateTime(const QDateTime &dateTime) const
{
    return m_blank ? BlankFormat : QDateTimeEdit::textFromDateTime(dateTime);
}

void TDateTimePicker::mousePressEvent(QMouseEvent *event)
{
    setBlank(false);
    QDateTimeEdit::mousePressEvent(event);
}

void TDateTimePicker::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        setBlank(true);
        event->accept();
        return;
    }
    // Keys that move the focus or close the dialog pass; a key that edits shows the value first,
    // so that nothing is changed unseen.
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        break;
    default:
        if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
            setBlank(false);
        break;
    }
    QDateTimeEdit::keyPressEvent(event);
}

void TDateTimePicker::wheelEvent(QWheelEvent *event)
{
    setBlank(false);
    QDateTimeEdit::wheelEvent(event);
}

bool TDateTimePicker::focusNextPrevChild(bool next)
{
    // A blank picker shows no sections to move between: Tab goes on to the next control.
    if (m_blank)
        return QAbstractSpinBox::focusNextPrevChild(next);
    return QDateTimeEdit::focusNextPrevChild(next);
}

void TDateTimePicker::focusInEvent(QFocusEvent *event)
{
    // A blank picker has no date or time section to select.
    if (m_blank)
        QAbstractSpinBox::focusInEvent(event);
    else
        QDateTimeEdit::focusInEvent(event);
}
