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

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

TLumAboutBox::TLumAboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    ProgramIconImage = new ClickLabel(this);
    ProgramIconImage->setFixedSize(40, 40);
    ProgramIconImage->setScaledContents(true);
    TolvarLogoImage = new ClickLabel(this);
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
    EmailLabel = new ClickLabel(this);
    URLLabel = new ClickLabel(this);
    for (ClickLabel *link : {EmailLabel, URLLabel})
        link->setCursor(Qt::PointingHandCursor);
    PhysicalMemoryLabel = new QLabel(this);
    PhysMem = new QLabel(QStringLiteral("-"), this);
    PhysMem->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OSInfoLabel = new QLabel(this);
    WindowsLogoImage = new ClickLabel(this);
    WindowsLogoImage->setToolTip(QStringLiteral("Designed for Microsoft Windows"));
    WindowsLogoImage->hide();
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    connect(EmailLabel, &ClickLabel::clicked, this, &TLumAboutBox::EmailLabelClick);
    connect(URLLabel, &ClickLabel::clicked, this, &TLumAboutBox::URLLabelClick);
    connect(ProgramIconImage, &ClickLabel::doubleClicked, this,
            &TLumAboutBox::ProgramIconImageDblClick);
    connect(TolvarLogoImage, &ClickLabel::doubleClicked, this,
            &TLumAboutBox::TolvarLogoImageDblClick);
    connect(WindowsLogoImage, &ClickLabel::doubleClicked, this,
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

void TLumAboutBox::fill(const AboutTexts &t)
{
    setWindowTitle(t.title);
    ApplicationLabel->setText(t.application);
    VersionLabel->setText(t.version);
    CopyrightLabel->setText(t.copyright);
    TextLabel->setText(t.text);
    AuthorLabel->setText(t.author);
    EmailLabel->setText(t.email);
    URLLabel->setText(t.url);
    PhysicalMemoryLabel->setText(t.memoryLabel);
    PhysMem->setText(t.physMem);
    OSInfoLabel->setText(t.osInfo);
    ProgramIconImage->setToolTip(t.programIconHint);
    TolvarLogoImage->setVisible(t.tolvarLogoVisible);
    WindowsLogoImage->setVisible(t.windowsLogoVisible);
    AuthorLabel->setVisible(t.authorVisible);
    EmailLabel->setVisible(t.emailVisible);
    OSInfoLabel->setVisible(t.osInfoVisible);
    TextLabel->setVisible(t.textVisible);
    URLLabel->setVisible(t.urlVisible);
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
    QDesktopServices::openUrl(QUrl(toolMakerWebAddress()));
}

void TLumAboutBox::WindowsLogoImageDblClick()
{
    QDesktopServices::openUrl(QUrl(platformMakerWebAddress()));
}

void TLumAboutBox::reject()
{
    accept();
}

void TLumAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}
