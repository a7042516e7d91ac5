#include "editing/ui/WingbookUnit6.h"

#include "editing/ui/DialogControls.h"
#include "platform/ui/DefaultFont.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TForm6::TForm6(QWidget *parent) : QDialog(parent)
{
    FromComboBox = makeCodeComboBox(this);
    ToComboBox = makeCodeComboBox(this);
    DistanceEdit = new QLineEdit(QStringLiteral("0"), this);
    // Typing gives digits only; a stored text is shown as it is.
    DistanceEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    DistanceUpDown = new TUpDown(DistanceEdit, 0, MaximumMiles, this);
    ReferenceCountLabel = new QLabel(QStringLiteral("Distance referenced by 0 flight(s)"), this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto *distance = new QHBoxLayout;
    distance->setSpacing(0);
    distance->addWidget(DistanceEdit);
    distance->addWidget(DistanceUpDown);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("From :"), FromComboBox);
    form->addRow(QStringLiteral("To :"), ToComboBox);
    form->addRow(QStringLiteral("Distance (Miles) :"), distance);
    form->addRow(ReferenceCountLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addDialogButtons(this, layout, OKButton, CancelButton);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(FromComboBox, ToComboBox);
    setTabOrder(ToComboBox, DistanceEdit);
    setTabOrder(DistanceEdit, OKButton);
    setTabOrder(OKButton, CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &TForm6::OKButtonClick);
    SetDefaultFont(this);
    setup(RecordDialogMode::Add, {}, {});
    // The title as designed, until a command sets its own.
    setWindowTitle(QStringLiteral("Distances"));
}

void TForm6::setup(RecordDialogMode mode, const QStringList &airports, const DistanceFields &fields,
                   const QString &referenceCountLabel)
{
    m_mode = mode;
    const bool properties = mode == RecordDialogMode::Properties;
    setWindowTitle(DistanceDialogTitle(mode));
    FromComboBox->setEnabled(!properties);
    ToComboBox->setEnabled(!properties);
    DistanceUpDown->setEnabled(!properties);
    DistanceEdit->setReadOnly(properties);
    ReferenceCountLabel->setVisible(properties);
    if (properties)
        ReferenceCountLabel->setText(referenceCountLabel);
    setModeButtons(OKButton, CancelButton, properties);

    setSortedEntries(FromComboBox, airports);
    setSortedEntries(ToComboBox, airports);
    selectEntry(FromComboBox, fields.from);
    selectEntry(ToComboBox, fields.to);
    DistanceEdit->setText(fields.miles);
}

DistanceFields TForm6::fields() const
{
    return {FromComboBox->currentText(), ToComboBox->currentText(), DistanceEdit->text()};
}

void TForm6::OKButtonClick()
{
    if (m_mode == RecordDialogMode::Properties)
        return;
    if (submitDialogFields(this, OnSubmit, fields()))
        accept();
}

void TForm6::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DistanceEdit->setFocus();
}
