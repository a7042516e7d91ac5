#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The table view's modeless find dialog: a text field, "Find Next" and "Cancel". It has no
// match-case, whole-word or direction controls; the view's find options decide those.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    QLineEdit *textEdit() const { return m_text; }
    QPushButton *findNextButton() const { return m_findNext; }
    QPushButton *cancelButton() const { return m_cancel; }

signals:
    void findNextRequested();

private:
    QLineEdit *m_text;
    QPushButton *m_findNext;
    QPushButton *m_cancel;
};
