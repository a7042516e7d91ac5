#include "editing/ui/WingbookUnit3.h"

#include "editing/ui/DateTimePicker.h"
#include "editing/ui/DialogControls.h"
#include "platform/ui/DefaultFont.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kTimeFormat = QStringLiteral("HH:mm");

// Two opposite vertical arrows: the picture of the swap button.
QPixmap swapPixmap(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(colour);
    painter.drawLine(QPointF(5, 3), QPointF(5, 13));
    painter.drawLine(QPointF(11, 3), QPointF(11, 13));
    painter.drawPolygon(QPolygonF({QPointF(5, 15), QPointF(2, 11), QPointF(8, 11)}));
    painter.drawPolygon(QPolygonF({QPointF(11, 1), QPointF(8, 5), QPointF(14, 5)}));
    return pixmap;
}

QIcon swapIcon(const QPalette &palette)
{
    QIcon icon(swapPixmap(palette.color(QPalette::Active, QPalette::ButtonText)));
    icon.addPixmap(swapPixmap(palette.color(QPalette::Disabled, QPalette::ButtonText)),
                   QIcon::Disabled);
    return icon;
}

void setPicker(TDateTimePicker *picker, const QDate &date, const QTime &time, bool blank)
{
    if (date.isValid())
        picker->setDate(date);
    if (time.isValid())
        picker->setTime(time);
    picker->setBlank(blank);
}

} // namespace

TForm3::TForm3(QWidget *parent) : QDialog(parent)
{
    DateDateTimePicker = new TDateTimePicker(TDateTimePicker::Kind::Date, kDateFormat, this);
    // The widest range the picker has, so that no stored date is cut.
    DateDateTimePicker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    TimeDateTimePicker = new TDateTimePicker(TDateTimePicker::Kind::Time, kTimeFormat, this);
    FromComboBox = makeCodeComboBox(this);
    ToComboBox = makeCodeComboBox(this);
    AirlineComboBox = makeCodeComboBox(this);
    FlightEdit = new QLineEdit(this);
    SwapSpeedButton = new QToolButton(this);
    SwapSpeedButton->setAutoRaise(true);
    SwapSpeedButton->setFocusPolicy(Qt::NoFocus);
    SwapSpeedButton->setToolTip(QStringLiteral("Swap"));
    SwapSpeedButton->setIcon(swapIcon(palette()));
    DistanceBetweenAirportsLabel =
        new QLabel(QStringLiteral("Distance between airports equal to 0 mile(s)"), this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto *grid = new QGridLayout;
    const std::pair<const char *, QWidget *> rows[] = {
        {"Date :", DateDateTimePicker}, {"Time :", TimeDateTimePicker}, {"From :", FromComboBox},
        {"To :", ToComboBox},           {"Airline :", AirlineComboBox}, {"Flight :", FlightEdit},
    };
    int r = 0;
    for (const auto &[caption, control] : rows) {
        auto *label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(control);
        grid->addWidget(label, r, 0);
        grid->addWidget(control, r, 1);
        ++r;
    }
    // The swap button sits between From and To.
    grid->addWidget(SwapSpeedButton, 2, 2, 2, 1, Qt::AlignVCenter);
    grid->addWidget(DistanceBetweenAirportsLabel, r, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 160);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    addDialogButtons(this, layout, OKButton, CancelButton);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(DateDateTimePicker, TimeDateTimePicker);
    setTabOrder(TimeDateTimePicker, FromComboBox);
    setTabOrder(FromComboBox, ToComboBox);
    setTabOrder(ToComboBox, AirlineComboBox);
    setTabOrder(AirlineComboBox, FlightEdit);
    setTabOrder(FlightEdit, OKButton);
    setTabOrder(OKButton, CancelButton);

    connect(OKButton, &QPushButton::clicked, this, &TForm3::OKButtonClick);
    connect(SwapSpeedButton, &QToolButton::clicked, this, &TForm3::SwapSpeedButtonClick);
    SetDefaultFont(this);
    setup(FlightDialogMode::Add, {}, {});
    // The title as designed, until a command sets its own.
    setWindowTitle(QStringLiteral("Flights"));
}

void TForm3::setup(FlightDialogMode mode, const FlightCodeLists &lists, const FlightFields &fields,
                   const QString &distanceLabel)
{
    m_mode = mode;
    const bool properties = mode == FlightDialogMode::Properties;
    setWindowTitle(FlightDialogTitle(mode));
    for (QWidget *control :
         std::initializer_list<QWidget *>{DateDateTimePicker, TimeDateTimePicker, FromComboBox,
                                          ToComboBox, AirlineComboBox, SwapSpeedButton})
        control->setEnabled(!properties);
    FlightEdit->setReadOnly(properties);
    DistanceBetweenAirportsLabel->setVisible(properties);
    if (properties && !distanceLabel.isEmpty())
        DistanceBetweenAirportsLabel->setText(distanceLabel);
    setModeButtons(OKButton, CancelButton, properties);

    // The lists are rebuilt at every opening.
    setSortedEntries(FromComboBox, lists.airports);
    setSortedEntries(ToComboBox, lists.airports);
    setSortedEntries(AirlineComboBox, lists.airlines);
    setFields(fields);
}

FlightFields TForm3::fields() const
{
    FlightFields fields;
    if (!DateDateTimePicker->isBlank())
        fields.date = DateDateTimePicker->dateValue();
    if (!TimeDateTimePicker->isBlank())
        fields.time = TimeDateTimePicker->timeValue();
    fields.from = FromComboBox->currentText();
    fields.to = ToComboBox->currentText();
    fields.airline = AirlineComboBox->currentText();
    fields.flight = FlightEdit->text();
    return fields;
}

void TForm3::setFields(const FlightFields &fields)
{
    // A blank picker holds today's date or the current time.
    const QDate date = fields.date.isNull() ? QDate::currentDate() : fields.date;
    const QTime time = fields.time.isNull() ? QTime::currentTime() : fields.time;
    setPicker(DateDateTimePicker, date, {}, fields.date.isNull());
    setPicker(TimeDateTimePicker, {}, time, fields.time.isNull());
    selectEntry(FromComboBox, fields.from);
    selectEntry(ToComboBox, fields.to);
    selectEntry(AirlineComboBox, fields.airline);
    FlightEdit->setText(fields.flight);
}

void TForm3::OKButtonClick()
{
    if (m_mode == FlightDialogMode::Properties)
        return;
    if (submitDialogFields(this, OnSubmit, fields()))
        accept();
}

void TForm3::SwapSpeedButtonClick()
{
    const QString from = FromComboBox->currentText();
    FromComboBox->setEditText(ToComboBox->currentText());
    ToComboBox->setEditText(from);
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (DateDateTimePicker->isEnabled())
        DateDateTimePicker->setFocus();
}
