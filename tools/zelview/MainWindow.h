#ifndef ZELVIEW_MAINWINDOW_H
#define ZELVIEW_MAINWINDOW_H

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QTimer>

class MapPicture;
class QAction;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class ScanFeeder;

namespace zelmw {
class NetworkMapModel;
}

// The viewer's window: the devices of the map in use in a sortable table with a filter that
// matches any column, the map's drawing beside it, and a status line with the map's name and
// counts. All follow the map live; the drawing and the status line are refreshed at most
// every quarter of a second, however fast records arrive. Device text is shown as plain text.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // With REMEMBER_GEOMETRY, the window takes its last size and place from the user's
    // settings and keeps them there when it closes.
    explicit MainWindow(bool rememberGeometry, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start feeding the map in use, as ScanFeeder does; false with the reason in ERROR.
    bool startReplay(const QString &path, int intervalMs, QString &error);
    bool startDiscovery(const QString &interfaceName, int intervalMs, QString &error);

    // Once the run going is over (at once without one) and the table shows what the map in
    // use holds, draws the map, writes the window as PNG to PATH and emits screenshotDone().
    void screenshotWhenSettled(const QString &path);

signals:
    // A replay or discovery is over, as ScanFeeder::finished() tells.
    void runFinished(int status, const QString &message);
    // 0 when the screenshot was written, else 1 with the reason in MESSAGE.
    void screenshotDone(int status, const QString &message);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void scheduleRefresh();
    void refresh();
    void onRunFinished(int status, const QString &message);
    void replayFromMenu();
    void discoverFromMenu();
    void setRunning(bool running);
    // Whether every row shows its device as the map in use holds it.
    bool settled() const;
    void trySettledScreenshot();
    bool writeScreenshot(const QString &path, QString &error);

    bool m_rememberGeometry;
    zelmw::NetworkMapModel *m_model;
    QSortFilterProxyModel *m_proxy;
    QLineEdit *m_filter;
    QTableView *m_table;
    MapPicture *m_picture;
    QLabel *m_status;
    ScanFeeder *m_feeder;
    QAction *m_replayAction = nullptr;
    QAction *m_discoverAction = nullptr;
    QTimer m_refreshTimer;
    QTimer m_settleTimer;
    QElapsedTimer m_settleClock;
    QString m_screenshotPath;
    int m_intervalMs = -1;
};

#endif // ZELVIEW_MAINWINDOW_H
