#pragma once

#include "editing/ReferenceEditing.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The airport dialog: code, name, city and a country chosen from the checked countries, in the
// Add, Modify and Properties modes. Created once and set up by each command before it is shown.
class TForm5 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);

    // Sets the title, the control states, the Country list (rebuilt at every opening) and the
    // contents for a mode; the reference-count label is shown only in the Properties mode.
    void setup(RecordDialogMode mode, const QStringList &countries, const AirportFields &fields,
               const QString &referenceCountLabel = QString());
    RecordDialogMode mode() const { return m_mode; }
    // The Country is empty when nothing is selected.
    AirportFields fields() const;

    // Run by OK: the message to show (the dialog stays open), or an empty text (closes with OK).
    std::function<QString(const AirportFields &)> OnSubmit;

    QLineEdit *AirportEdit = nullptr;
    QLineEdit *NameEdit = nullptr;
    QLineEdit *CityEdit = nullptr;
    QComboBox *CountryComboBox = nullptr;
    QLabel *ReferenceCountLabel = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    void OKButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    RecordDialogMode m_mode = RecordDialogMode::Add;
};
