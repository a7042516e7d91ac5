#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QValidator>
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

// Upper-cases what is typed: the code fields of the record dialogs.
class UpperCaseValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

// An editable drop-down list of codes: typed text is upper-cased and never added to the list.
QComboBox *makeCodeComboBox(QWidget *parent = nullptr);

// Replaces a drop-down list's entries by these, shown sorted (letter case ignored), and leaves
// nothing selected.
void setSortedEntries(QComboBox *comboBox, const QStringList &entries);
// Replaces a drop-down list's entries by these, in this order, and leaves nothing selected.
void setEntries(QComboBox *comboBox, const QStringList &entries);

// Selects the entry with exactly this text; an empty text, or one that is not in the list,
// leaves the field empty.
void selectEntry(QComboBox *comboBox, const QString &text);

// Shows the message of a check that failed in a dialog.
void showDialogProblem(QWidget *dialog, const QString &problem);

// The OK rule of the record dialogs: the submit operation stores the fields or returns the
// first failing check's message, which is shown while the dialog stays open. True when the
// dialog may close.
template <typename Fields>
bool submitDialogFields(QWidget *dialog, const std::function<QString(const Fields &)> &submit,
                        const Fields &fields)
{
    if (!submit)
        return true;
    const QString problem = submit(fields);
    if (problem.isEmpty())
        return true;
    showDialogProblem(dialog, problem);
    return false;
}

// Up and down arrows that step a number field by 1 between a lowest and a highest position.
// The field keeps the text it is given (a stored value beyond the range is not cut); a step
// starts from the field's value brought into the range.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    TUpDown(QLineEdit *associate, int minimum, int maximum, QWidget *parent = nullptr);

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // The field's value brought into the range; 0 when the field holds no number.
    int position() const;
    void setPosition(int position);
    void stepBy(int steps);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_associate;
    int m_min;
    int m_max;
    QToolButton *m_up;
    QToolButton *m_down;
};

class QPushButton;
class QDialog;
class QBoxLayout;

// The OK and Cancel buttons of a record dialog, in a row at the foot of `layout`.
void addDialogButtons(QDialog *dialog, QBoxLayout *layout, QPushButton *ok, QPushButton *cancel);
// The buttons of a mode: OK shown and the default button, or, in the Properties mode, hidden
// with Cancel the default button.
void setModeButtons(QPushButton *ok, QPushButton *cancel, bool properties);
