#pragma once

#include "editing/ReferenceEditing.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TUpDown;

// The distance dialog: two airport codes and the distance between them in miles, in the Add,
// Modify and Properties modes. Created once and set up by each command before it is shown.
class TForm6 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm6(QWidget *parent = nullptr);

    // Sets the title, the control states, the From and To lists (rebuilt at every opening) and
    // the contents for a mode; the reference-count label is shown only in the Properties mode.
    void setup(RecordDialogMode mode, const QStringList &airports, const DistanceFields &fields,
               const QString &referenceCountLabel = QString());
    RecordDialogMode mode() const { return m_mode; }
    DistanceFields fields() const;

    // Run by OK: the message to show (the dialog stays open), or an empty text (closes with OK).
    std::function<QString(const DistanceFields &)> OnSubmit;

    static constexpr int MaximumMiles = 30000;

    QComboBox *FromComboBox = nullptr;
    QComboBox *ToComboBox = nullptr;
    QLineEdit *DistanceEdit = nullptr;
    TUpDown *DistanceUpDown = nullptr;
    QLabel *ReferenceCountLabel = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    void OKButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    RecordDialogMode m_mode = RecordDialogMode::Add;
};
