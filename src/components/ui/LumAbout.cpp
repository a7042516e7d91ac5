#include "components/ui/LumAbout.h"

#include "components/MakerInfo.h"
#include "components/ui/CentreOnScreen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

void TClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TClickLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

TLumAboutBox::TLumAboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    ProgramIconImage = new TClickLabel(this);
    ProgramIconImage->setFixedSize(40, 40);
    ProgramIconImage->setScaledContents(true);
    TolvarLogoImage = new TClickLabel(this);
    TolvarLogoImage->setFixedSize(40, 40);
    TolvarLogoImage->setScaledContents(true);
    TolvarLogoImage->setPixmap(
        QPixmap(QStringLiteral(":/qt-project.org/qmessagebox/images/qtlogo-64.png")));
    TolvarLogoImage->setToolTip(QStringLiteral("Built with Qt"));
    ApplicationLabel = new QLabel(this);
    QFont bold = ApplicationLabel->font();
    bold.setBold(true);
    ApplicationLabel->setFont(bold);
    VersionLabel = new QLabel(this);
    CopyrightLabel = new QLabel(this);
    TextLabel = new QLabel(this);
    AuthorLabel = new QLabel(this);
    EmailLabel = new TClickLabel(this);
    URLLabel = new TClickLabel(this);
    for (TClickLabel *link : {EmailLabel, URLLabel})
        link->setCursor(Qt::PointingHandCursor);
    PhysicalMemoryLabel = new QLabel(this);
    PhysMem = new QLabel(QStringLiteral("-"), this);
    PhysMem->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OSInfoLabel = new QLabel(this);
    WindowsLogoImage = new TClickLabel(this);
    WindowsLogoImage->setToolTip(QStringLiteral("Designed for Microsoft Windows"));
    WindowsLogoImage->hide();
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    connect(EmailLabel, &TClickLabel::clicked, this, &TLumAboutBox::EmailLabelClick);
    connect(URLLabel, &TClickLabel::clicked, this, &TLumAboutBox::URLLabelClick);
    connect(ProgramIconImage, &TClickLabel::doubleClicked, this,
            &TLumAboutBox::ProgramIconImageDblClick);
    connect(TolvarLogoImage, &TClickLabel::doubleClicked, this,
            &TLumAboutBox::TolvarLogoImageDblClick);
    connect(WindowsLogoImage, &TClickLabel::doubleClicked, this,
            &TLumAboutBox::WindowsLogoImageDblClick);

    auto *top = new QHBoxLayout;
    top->addWidget(ProgramIconImage, 0, Qt::AlignTop);
    auto *names = new QVBoxLayout;
    for (QLabel *label : {ApplicationLabel, VersionLabel, CopyrightLabel})
        names->addWidget(label);
    top->addLayout(names, 1);
    top->addWidget(TolvarLogoImage, 0, Qt::AlignTop);

    auto *credits = new QVBoxLayout;
    for (QLabel *label : {static_cast<QLabel *>(TextLabel), AuthorLabel,
                          static_cast<QLabel *>(EmailLabel), static_cast<QLabel *>(URLLabel)})
        credits->addWidget(label);

    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto *memory = new QHBoxLayout;
    memory->addWidget(PhysicalMemoryLabel);
    memory->addStretch();
    memory->addWidget(PhysMem);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(WindowsLogoImage);
    bottom->addStretch();
    bottom->addWidget(OKButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(credits);
    layout->addWidget(separator);
    layout->addLayout(memory);
    layout->addWidget(OSInfoLabel);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(380);
}

void TLumAboutBox::fill(const TAboutTexts &t)
{
    setWindowTitle(t.Title);
    ApplicationLabel->setText(t.Application);
    VersionLabel->setText(t.Version);
    CopyrightLabel->setText(t.Copyright);
    TextLabel->setText(t.Text);
    AuthorLabel->setText(t.Author);
    EmailLabel->setText(t.Email);
    URLLabel->setText(t.URL);
    PhysicalMemoryLabel->setText(t.MemoryLabel);
    PhysMem->setText(t.PhysMem);
    OSInfoLabel->setText(t.OSInfo);
    ProgramIconImage->setToolTip(t.ProgramIconHint);
    TolvarLogoImage->setVisible(t.TolvarLogoVisible);
    WindowsLogoImage->setVisible(t.WindowsLogoVisible);
    AuthorLabel->setVisible(t.AuthorVisible);
    EmailLabel->setVisible(t.EmailVisible);
    OSInfoLabel->setVisible(t.OSInfoVisible);
    TextLabel->setVisible(t.TextVisible);
    URLLabel->setVisible(t.URLVisible);
}

void TLumAboutBox::EmailLabelClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + EmailLabel->text()));
}

void TLumAboutBox::URLLabelClick()
{
    QDesktopServices::openUrl(QUrl(URLLabel->text()));
}

void TLumAboutBox::ProgramIconImageDblClick()
{
    if (!m_releaseNotes.isEmpty() && QFileInfo::exists(m_releaseNotes))
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_releaseNotes));
}

void TLumAboutBox::TolvarLogoImageDblClick()
{
    QDesktopServices::openUrl(QUrl(ToolMakerWebAddress()));
}

void TLumAboutBox::WindowsLogoImageDblClick()
{
    QDesktopServices::openUrl(QUrl(PlatformMakerWebAddress()));
}

void TLumAboutBox::reject()
{
    accept();
}

void TLumAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}
