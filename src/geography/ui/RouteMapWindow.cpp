#include "geography/ui/RouteMapWindow.h"

#include "components/ui/MessageBoxes.h"
#include "geography/RouteMapGeometry.h"
#include "geography/WorldOutlines.h"
#include "geography/ui/RouteMapPicture.h"
#include "geography/ui/RouteMapWidget.h"
#include "platform/SpecialFolders.h"
#include "platform/ui/FileDialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

RouteMapWindow::RouteMapWindow(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Route Map"));
    setSizeGripEnabled(true);
    MapWidget = new RouteMapWidget;
    SummaryLabel = new QLabel;
    OutlinesLabel = new QLabel;
    OutlinesLabel->setWordWrap(true);
    OutlinesLabel->hide();
    WithoutPositionLabel = new QLabel;
    WithoutPositionLabel->setWordWrap(true);
    WithoutPositionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    WithoutPositionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A long list scrolls instead of pushing the map away.
    m_withoutPositionArea = new QScrollArea;
    m_withoutPositionArea->setWidget(WithoutPositionLabel);
    m_withoutPositionArea->setWidgetResizable(true);
    m_withoutPositionArea->setFrameShape(QFrame::NoFrame);
    m_withoutPositionArea->setMaximumHeight(5 * fontMetrics().lineSpacing());
    m_withoutPositionArea->hide();

    auto *buttons = new QDialogButtonBox;
    SavePictureButton =
        buttons->addButton(QStringLiteral("Save Picture..."), QDialogButtonBox::ActionRole);
    CloseButton = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    connect(SavePictureButton, &QPushButton::clicked, this,
            &RouteMapWindow::SavePictureButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MapWidget, 1);
    layout->addWidget(SummaryLabel);
    layout->addWidget(OutlinesLabel);
    layout->addWidget(m_withoutPositionArea);
    layout->addWidget(buttons);
    MapWidget->setFocus();
}

void RouteMapWindow::setOutlines(const WorldOutlines &outlines)
{
    MapWidget->mapPainter().setOutlines(outlines);
    OutlinesLabel->setText(outlines.error.isEmpty()
                               ? QString()
                               : QStringLiteral("The land is not drawn: %1").arg(outlines.error));
    OutlinesLabel->setVisible(!outlines.error.isEmpty());
}

void RouteMapWindow::showGeometry(const RouteMapGeometry &geometry)
{
    MapWidget->showGeometry(geometry);
    SummaryLabel->setText(
        QStringLiteral("%1 route(s), %2 airport(s). Wheel or +/-: zoom; drag or arrow keys: "
                       "move; Home: the whole world.")
            .arg(geometry.routes.size())
            .arg(geometry.airports.size()));
    WithoutPositionLabel->setText(WithoutPositionText(geometry));
    m_withoutPositionArea->setVisible(!geometry.withoutPosition.isEmpty());
}

void RouteMapWindow::SavePictureButtonClick()
{
    FileDialogs::Request request;
    request.save = true;
    request.title = QStringLiteral("Save Picture");
    request.filters = {QStringLiteral("PNG pictures (*.png)"),
                       QStringLiteral("SVG pictures (*.svg)")};
    request.defaultExtension = QStringLiteral("png");
    request.folder = PersonalDocumentsFolder();
    request.proposedName = QStringLiteral("route-map.png");
    request.overwritePrompt = !m_prompt || m_prompt();
    const FileDialogs::Result chosen = FileDialogs::execute(this, request);
    if (!chosen.accepted)
        return;
    const QString error = SaveRouteMapPicture(MapWidget->mapPainter(), MapWidget->size(),
                                              MapWidget->view(), chosen.path);
    if (!error.isEmpty())
        MessageBoxes::error(this, error);
}
