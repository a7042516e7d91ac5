#pragma once

#include "editing/ReferenceEditing.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The airline dialog: code and name, in the Add, Modify and Properties modes. Created once and
// set up by each command before it is shown.
class TForm4 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm4(QWidget *parent = nullptr);

    // Sets the title, the control states and the contents for a mode; the reference-count label
    // is shown only in the Properties mode.
    void setup(RecordDialogMode mode, const AirlineFields &fields,
               const QString &referenceCountLabel = QString());
    RecordDialogMode mode() const { return m_mode; }
    AirlineFields fields() const;

    // Run by OK: the message to show (the dialog stays open), or an empty text (closes with OK).
    std::function<QString(const AirlineFields &)> OnSubmit;

    QLineEdit *AirlineEdit = nullptr;
    QLineEdit *NameEdit = nullptr;
    QLabel *ReferenceCountLabel = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    void OKButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    RecordDialogMode m_mode = RecordDialogMode::Add;
};
