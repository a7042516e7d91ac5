#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The string list editor: one multi-line text field and OK and Cancel, centred on the main
// window. The options dialog edits its country list here as "Countries Editor".
class TForm7 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm7(QWidget *parent = nullptr);

    QStringList Lines() const;
    void setLines(const QStringList &lines);
    // Centres the editor on the given window, or on the screen without one.
    void centreOn(const QWidget *window);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
