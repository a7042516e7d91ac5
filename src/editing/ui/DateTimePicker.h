#pragma once

#include <QDateTimeEdit>

// A date or time picker that can show nothing. It always holds a value, but with the display
// format " " (a single blank) it is blank: it shows no value and counts as holding none. A
// click, or a key that edits, shows the value again in the picker's own format; Delete makes it
// blank.
class TDateTimePicker : public QDateTimeEdit
{
    Q_OBJECT

public:
    enum class Kind { Date, Time };

    // format: the picker's own display format ("yyyy-MM-dd", "HH:mm").
    TDateTimePicker(Kind kind, const QString &format, QWidget *parent = nullptr);

    // " " while blank, otherwise the picker's own format.
    QString Format() const;
    // " " makes the picker blank; any other text becomes its own format and shows the value.
    void setFormat(const QString &format);
    bool isBlank() const { return m_blank; }
    void setBlank(bool blank);

    // The date or time held, blank or not.
    QDate dateValue() const { return date(); }
    QTime timeValue() const { return time(); }

    static const QString BlankFormat;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    QString textFromDateTime(const QDateTime &dateTime) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QString m_format;
    bool m_blank = false;
};
