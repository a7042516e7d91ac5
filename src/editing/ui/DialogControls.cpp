#include "editing/ui/DialogControls.h"

#include "components/ui/MessageBoxes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

QValidator::State UpperCaseValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    input = input.toUpper();
    return Acceptable;
}

QComboBox *makeCodeComboBox(QWidget *parent)
{
    auto *comboBox = new QComboBox(parent);
    comboBox->setEditable(true);
    comboBox->setInsertPolicy(QComboBox::NoInsert);
    comboBox->setValidator(new UpperCaseValidator(comboBox));
    comboBox->setMinimumContentsLength(8);
    return comboBox;
}

void setSortedEntries(QComboBox *comboBox, const QStringList &entries)
{
    // The order that the editing operations take for "the first entry" of a list.
    QStringList sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    setEntries(comboBox, sorted);
}

void setEntries(QComboBox *comboBox, const QStringList &entries)
{
    comboBox->clear();
    comboBox->addItems(entries);
    selectEntry(comboBox, QString());
}

void selectEntry(QComboBox *comboBox, const QString &text)
{
    const int index = text.isEmpty() ? -1 : comboBox->findText(text, Qt::MatchExactly);
    comboBox->setCurrentIndex(index);
    if (index < 0 && comboBox->isEditable())
        comboBox->setEditText(QString());
}

TUpDown::TUpDown(QLineEdit *associate, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_associate(associate), m_min(minimum), m_max(maximum),
      m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int height = qMax(10, associate->sizeHint().height() / 2);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, height);
        layout->addWidget(button);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    // The arrow keys in the field step it too.
    associate->installEventFilter(this);
}

int TUpDown::position() const
{
    bool ok = false;
    const qlonglong value = m_associate->text().toLongLong(&ok);
    if (!ok)
        return qBound(m_min, 0, m_max);
    return int(std::clamp(value, qlonglong(m_min), qlonglong(m_max)));
}

void TUpDown::setPosition(int position)
{
    m_associate->setText(QString::number(qBound(m_min, position, m_max)));
}

void TUpDown::stepBy(int steps)
{
    if (!isEnabled() || m_associate->isReadOnly())
        return;
    setPosition(int(std::clamp(qlonglong(position()) + steps, qlonglong(m_min), qlonglong(m_max))));
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_associate && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void addDialogButtons(QDialog *dialog, QBoxLayout *layout, QPushButton *ok, QPushButton *cancel)
{
    auto *buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    // Cancel and Escape close without change.
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

void setModeButtons(QPushButton *ok, QPushButton *cancel, bool properties)
{
    ok->setVisible(!properties);
    ok->setAutoDefault(!properties);
    ok->setDefault(!properties);
    cancel->setAutoDefault(properties);
    cancel->setDefault(properties);
}

void showDialogProblem(QWidget *dialog, const QString &problem)
{
    MessageBoxes::error(dialog, problem);
}
