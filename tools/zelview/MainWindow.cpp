#include "MainWindow.h"

#include "MapPicture.h"
#include "ScanFeeder.h"

#include <zelmw/models/NetworkMapModel.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapObject.h>

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QImageWriter>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The drawing and the status line follow the map at most this often: a replay at full speed
// applies hundreds of records a second, and one drawing takes a good part of that.
const int REFRESH_MS = 250;
const int SETTLE_POLL_MS = 20;
// A screenshot is taken after this long even if the table never catches up with the map.
const int SETTLE_LIMIT_MS = 30000;
const QSize DEFAULT_SIZE(1280, 800);
const QString GEOMETRY_KEY = QStringLiteral("window/geometry");

zelmw::NetworkMapSharedPtr mapInUse()
{
    return zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
}

// What a row and a device must agree on for the table to show the map: id to type, name,
// address and connection.
QString rowKey(const QString &type, const QString &name, const QString &ip, bool connected)
{
    return type + QLatin1Char('\n') + name + QLatin1Char('\n') + ip
        + (connected ? QStringLiteral("\n1") : QStringLiteral("\n0"));
}

void warn(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    // The reason may quote a recording or what a device calls itself.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

MainWindow::MainWindow(bool rememberGeometry, QWidget *parent)
    : QMainWindow(parent)
    , m_rememberGeometry(rememberGeometry)
    , m_model(new zelmw::NetworkMapModel(this))
    , m_proxy(new QSortFilterProxyModel(this))
    , m_filter(new QLineEdit)
    , m_table(new QTableView)
    , m_picture(new MapPicture)
    , m_status(new QLabel)
    , m_feeder(new ScanFeeder(this))
{
    setWindowTitle(tr("zelview"));

    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);

    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setPlaceholderText(tr("Type to show only the devices that match"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, m_proxy,
            &QSortFilterProxyModel::setFilterFixedString);

    m_table->setObjectName(QStringLiteral("devices"));
    m_table->setModel(m_proxy);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setTabKeyNavigation(false); // Tab leaves the table for the drawing
    m_table->horizontalHeader()->setStretchLastSection(true);
    // The map's own order, by device id, until a column header is clicked.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);

    m_picture->setObjectName(QStringLiteral("mapPicture"));
    m_status->setObjectName(QStringLiteral("mapStatus"));
    m_status->setTextFormat(Qt::PlainText); // the map is named after its gateway
    statusBar()->addPermanentWidget(m_status, 1);

    auto *filterLabel = new QLabel(tr("Fi&lter:"));
    filterLabel->setBuddy(m_filter);
    auto *tableLabel = new QLabel(tr("&Devices:"));
    tableLabel->setBuddy(m_table);
    auto *devicesPane = new QWidget;
    auto *layout = new QVBoxLayout(devicesPane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filterLabel);
    layout->addWidget(m_filter);
    layout->addWidget(tableLabel);
    layout->addWidget(m_table);
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(devicesPane);
    splitter->addWidget(m_picture);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ DEFAULT_SIZE.width() * 11 / 20, DEFAULT_SIZE.width() * 9 / 20 });
    setCentralWidget(splitter);
    setTabOrder(m_filter, m_table);
    setTabOrder(m_table, m_picture);

    createMenus();

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(REFRESH_MS);
    connect(&m_refreshTimer, &QTimer::timeout, this, &MainWindow::refresh);
    connect(m_model, &QAbstractItemModel::modelReset, this, &MainWindow::scheduleRefresh);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &MainWindow::scheduleRefresh);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &MainWindow::scheduleRefresh);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &MainWindow::scheduleRefresh);
    connect(m_feeder, &ScanFeeder::finished, this, &MainWindow::onRunFinished);

    m_settleTimer.setInterval(SETTLE_POLL_MS);
    connect(&m_settleTimer, &QTimer::timeout, this, &MainWindow::trySettledScreenshot);

    resize(DEFAULT_SIZE);
    if (m_rememberGeometry)
        restoreGeometry(QSettings().value(GEOMETRY_KEY).toByteArray());
    scheduleRefresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus()
{
    const auto add = [](QMenu *menu, const QString &text, const char *shortcut) {
        QAction *action = menu->addAction(text);
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        return action;
    };
    QMenu *file = menuBar()->addMenu(tr("&File"));
    m_replayAction = add(file, tr("&Replay a recorded scan…"), "Ctrl+O");
    connect(m_replayAction, &QAction::triggered, this, &MainWindow::replayFromMenu);
    m_discoverAction = add(file, tr("&Discover the network…"), "Ctrl+D");
    connect(m_discoverAction, &QAction::triggered, this, &MainWindow::discoverFromMenu);
    file->addSeparator();
    connect(add(file, tr("&Quit"), "Ctrl+Q"), &QAction::triggered, this, &QWidget::close);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    connect(add(view, tr("&Filter the devices"), "Ctrl+F"), &QAction::triggered, this, [this] {
        m_filter->setFocus(Qt::ShortcutFocusReason);
        m_filter->selectAll();
    });
    connect(add(view, tr("Go to the &table"), "Ctrl+T"), &QAction::triggered, this,
            [this] { m_table->setFocus(Qt::ShortcutFocusReason); });
    QAction *fit = add(view, tr("Fit the &drawing to the window"), "Ctrl+0");
    fit->setCheckable(true);
    fit->setChecked(true);
    connect(fit, &QAction::toggled, m_picture, &MapPicture::setFitToWindow);
}

bool MainWindow::startReplay(const QString &path, int intervalMs, QString &error)
{
    if (!m_feeder->startReplay(path, intervalMs, error))
        return false;
    m_intervalMs = intervalMs;
    setRunning(true);
    statusBar()->showMessage(tr("Replaying %1…").arg(path));
    return true;
}

bool MainWindow::startDiscovery(const QString &interfaceName, int intervalMs, QString &error)
{
    if (!m_feeder->startDiscovery(interfaceName, intervalMs, error))
        return false;
    m_intervalMs = intervalMs;
    setRunning(true);
    statusBar()->showMessage(tr("Discovering the network…"));
    return true;
}

void MainWindow::setRunning(bool running)
{
    m_replayAction->setEnabled(!running);
    m_discoverAction->setEnabled(!running);
}

void MainWindow::onRunFinished(int status, const QString &message)
{
    setRunning(false);
    statusBar()->showMessage(status == 0             ? tr("Done.")
                                 : message.isEmpty() ? tr("Stopped: not every record was applied.")
                                                     : tr("Stopped: %1").arg(message));
    emit runFinished(status, message);
    if (!m_screenshotPath.isEmpty())
        screenshotWhenSettled(m_screenshotPath);
}

void MainWindow::replayFromMenu()
{
    const QString path
        = QFileDialog::getOpenFileName(this, tr("Replay a recorded scan"), QString(),
                                       tr("Recorded scans (*.jsonl);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!startReplay(path, m_intervalMs, error))
        warn(this, tr("Replay a recorded scan"), error);
}

void MainWindow::discoverFromMenu()
{
    bool ok = false;
    const QString interfaceName
        = QInputDialog::getText(this, tr("Discover the network"),
                                tr("The search sends traffic on the network.\n"
                                   "&Interface to search on (empty: the default route's):"),
                                QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    QString error;
    if (!startDiscovery(interfaceName.trimmed(), m_intervalMs, error))
        warn(this, tr("Discover the network"), error);
}

void MainWindow::scheduleRefresh()
{
    // Not restarted while it runs: changes coming all the time still refresh every REFRESH_MS.
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void MainWindow::refresh()
{
    m_refreshTimer.stop();
    const zelmw::NetworkMapSharedPtr map = mapInUse();
    int connected = 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        connected += m_model->index(row, 0).data(zelmw::NetworkMapModel::ConnectedRole).toBool();
    // One arg() call: a name holding "%2" stays as it is.
    m_status->setText(map ? tr("Map \"%1\": %2 devices, %3 connected")
                                .arg(map->getName(), QString::number(m_model->rowCount()),
                                     QString::number(connected))
                          : tr("No map is in use."));
    m_picture->showMap(map);
    m_table->resizeColumnsToContents();
}

bool MainWindow::settled() const
{
    QMap<int, QString> devices;
    if (const zelmw::NetworkMapSharedPtr map = mapInUse()) {
        for (const auto &device : map->getNwMapObjectList())
            devices.insert(device->getId(),
                           rowKey(device->getTypeName(), device->getName(), device->getIpAddress(),
                                  device->getIsConnected()));
    }
    QMap<int, QString> rows;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        using Model = zelmw::NetworkMapModel;
        rows.insert(index.data(Model::DeviceIdRole).toInt(),
                    rowKey(index.data(Model::TypeNameRole).toString(),
                           index.data(Model::NameRole).toString(),
                           index.data(Model::IpAddressRole).toString(),
                           index.data(Model::ConnectedRole).toBool()));
    }
    return rows == devices;
}

void MainWindow::screenshotWhenSettled(const QString &path)
{
    m_screenshotPath = path;
    if (m_feeder->isRunning())
        return; // onRunFinished() comes back here
    m_settleClock.start();
    m_settleTimer.start();
}

void MainWindow::trySettledScreenshot()
{
    if (!settled() && !m_settleClock.hasExpired(SETTLE_LIMIT_MS))
        return;
    m_settleTimer.stop();
    refresh();
    const QString path = m_screenshotPath;
    m_screenshotPath.clear();
    // Once the layout has taken in what refresh() changed.
    QTimer::singleShot(0, this, [this, path] {
        QString error;
        const bool written = writeScreenshot(path, error);
        emit screenshotDone(written ? 0 : 1,
                            written ? QString() : tr("cannot write %1: %2").arg(path, error));
    });
}

bool MainWindow::writeScreenshot(const QString &path, QString &error)
{
    const QImage image = grab().toImage();
    // Replaced whole: a failure leaves an older file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        error = writer.errorString();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_rememberGeometry)
        QSettings().setValue(GEOMETRY_KEY, saveGeometry());
    QMainWindow::closeEvent(event);
}
