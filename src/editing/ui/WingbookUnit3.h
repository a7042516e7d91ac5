#pragma once

#include "editing/FlightEditing.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDateTimePicker;

// The flight dialog: date, time, departure and arrival airport codes, airline code and flight
// number, in the Add, Modify, Derive and Properties modes. It is created once and reused; each
// command sets it up for its mode before showing it.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget *parent = nullptr);

    // Sets the title, the control states, the code lists and the contents for a mode. The
    // distance label is shown only in the Properties mode.
    void setup(FlightDialogMode mode, const FlightCodeLists &lists, const FlightFields &fields,
               const QString &distanceLabel = QString());
    FlightDialogMode mode() const { return m_mode; }

    // What the controls hold: a blank picker gives a null date or time.
    FlightFields fields() const;
    void setFields(const FlightFields &fields);

    // Run by OK with the entered fields: returns the message to show (the dialog stays open) or
    // an empty text (the dialog closes with OK).
    std::function<QString(const FlightFields &)> OnSubmit;

    TDateTimePicker *DateDateTimePicker = nullptr;
    TDateTimePicker *TimeDateTimePicker = nullptr;
    QComboBox *FromComboBox = nullptr;
    QComboBox *ToComboBox = nullptr;
    QComboBox *AirlineComboBox = nullptr;
    QLineEdit *FlightEdit = nullptr;
    QToolButton *SwapSpeedButton = nullptr;
    QLabel *DistanceBetweenAirportsLabel = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    void OKButtonClick();
    void SwapSpeedButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    FlightDialogMode m_mode = FlightDialogMode::Add;
};
