#include "components/ui/FindDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent), m_text(new QLineEdit(this)),
      m_findNext(new QPushButton(QStringLiteral("Find Next"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto *label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    label->setBuddy(m_text);

    auto *field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(m_text, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_cancel);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(field, 1);
    layout->addLayout(buttons);

    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);
    // Nothing can be sought for an empty text.
    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::findNextRequested);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::text() const
{
    return m_text->text();
}

void FindDialog::setText(const QString &text)
{
    m_text->setText(text);
}
