#include "editing/ui/WingbookUnit5.h"

#include "editing/ui/DialogControls.h"
#include "options/CountryList.h"
#include "platform/ui/DefaultFont.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm5::TForm5(QWidget *parent) : QDialog(parent)
{
    AirportEdit = new QLineEdit(this);
    AirportEdit->setValidator(new UpperCaseValidator(AirportEdit));
    NameEdit = new QLineEdit(this);
    NameEdit->setMinimumWidth(240);
    CityEdit = new QLineEdit(this);
    // A list to choose from, without typing.
    CountryComboBox = new QComboBox(this);
    CountryComboBox->setEditable(false);
    ReferenceCountLabel = new QLabel(QStringLiteral("Airport referenced by 0 flight(s)"), this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Airport :"), AirportEdit);
    form->addRow(QStringLiteral("Name :"), NameEdit);
    form->addRow(QStringLiteral("City :"), CityEdit);
    form->addRow(QStringLiteral("Country :"), CountryComboBox);
    form->addRow(ReferenceCountLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addDialogButtons(this, layout, OKButton, CancelButton);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &TForm5::OKButtonClick);
    SetDefaultFont(this);
    setup(RecordDialogMode::Add, {}, {});
    // The title as designed, until a command sets its own.
    setWindowTitle(QStringLiteral("Airports"));
}

void TForm5::setup(RecordDialogMode mode, const QStringList &countries, const AirportFields &fields,
                   const QString &referenceCountLabel)
{
    m_mode = mode;
    const bool properties = mode == RecordDialogMode::Properties;
    setWindowTitle(AirportDialogTitle(mode));
    for (QLineEdit *edit : {AirportEdit, NameEdit, CityEdit})
        edit->setReadOnly(properties);
    CountryComboBox->setEnabled(!properties);
    ReferenceCountLabel->setVisible(properties);
    if (properties)
        ReferenceCountLabel->setText(referenceCountLabel);
    setModeButtons(OKButton, CancelButton, properties);

    // Sorted as the options dialog sorts the country list, with the user's collation.
    setEntries(CountryComboBox, SortedCountryNames(countries));
    AirportEdit->setText(fields.code);
    NameEdit->setText(fields.name);
    CityEdit->setText(fields.city);
    selectEntry(CountryComboBox, fields.country);
}

AirportFields TForm5::fields() const
{
    const QString country =
        CountryComboBox->currentIndex() >= 0 ? CountryComboBox->currentText() : QString();
    return {AirportEdit->text(), NameEdit->text(), CityEdit->text(), country};
}

void TForm5::OKButtonClick()
{
    if (m_mode == RecordDialogMode::Properties)
        return;
    if (submitDialogFields(this, OnSubmit, fields()))
        accept();
}

void TForm5::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    AirportEdit->setFocus();
}
