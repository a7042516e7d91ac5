#include "options/ui/WingbookUnit7.h"

#include "components/TextFileReader.h"
#include "platform/ui/DefaultFont.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TForm7::TForm7(QWidget *parent) : QDialog(parent)
{
    Memo1 = new QPlainTextEdit;
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *buttons = new QDialogButtonBox;
    OKButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    CancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    OKButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addWidget(buttons);
    resize(360, 420);
    SetDefaultFont(this);
}

QStringList TForm7::Lines() const
{
    // Like the lines of a memo: a line break at the very end adds no empty line.
    return SplitTextLines(Memo1->toPlainText());
}

void TForm7::setLines(const QStringList &lines)
{
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm7::centreOn(const QWidget *window)
{
    const QRect area =
        window ? window->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
}
