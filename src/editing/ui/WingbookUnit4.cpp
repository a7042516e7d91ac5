#include "editing/ui/WingbookUnit4.h"

#include "editing/ui/DialogControls.h"
#include "platform/ui/DefaultFont.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm4::TForm4(QWidget *parent) : QDialog(parent)
{
    AirlineEdit = new QLineEdit(this);
    AirlineEdit->setValidator(new UpperCaseValidator(AirlineEdit));
    NameEdit = new QLineEdit(this);
    NameEdit->setMinimumWidth(240);
    ReferenceCountLabel = new QLabel(QStringLiteral("Airline referenced by 0 flight(s)"), this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Airline :"), AirlineEdit);
    form->addRow(QStringLiteral("Name :"), NameEdit);
    form->addRow(ReferenceCountLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addDialogButtons(this, layout, OKButton, CancelButton);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &TForm4::OKButtonClick);
    SetDefaultFont(this);
    setup(RecordDialogMode::Add, {});
    // The title as designed, until a command sets its own.
    setWindowTitle(QStringLiteral("Airlines"));
}

void TForm4::setup(RecordDialogMode mode, const AirlineFields &fields,
                   const QString &referenceCountLabel)
{
    m_mode = mode;
    const bool properties = mode == RecordDialogMode::Properties;
    setWindowTitle(AirlineDialogTitle(mode));
    AirlineEdit->setReadOnly(properties);
    NameEdit->setReadOnly(properties);
    ReferenceCountLabel->setVisible(properties);
    if (properties)
        ReferenceCountLabel->setText(referenceCountLabel);
    setModeButtons(OKButton, CancelButton, properties);
    AirlineEdit->setText(fields.code);
    NameEdit->setText(fields.name);
}

AirlineFields TForm4::fields() const
{
    return {AirlineEdit->text(), NameEdit->text()};
}

void TForm4::OKButtonClick()
{
    if (m_mode == RecordDialogMode::Properties)
        return;
    if (submitDialogFields(this, OnSubmit, fields()))
        accept();
}

void TForm4::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    AirlineEdit->setFocus();
}
