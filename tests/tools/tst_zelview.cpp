// The viewer after a replay of the example home scan into a scratch store, on Qt's offscreen
// platform: its table against what the map holds, its filter, its keys and its screenshot.
#include "MainWindow.h"
#include "StoreSetup.h"

#include <zelmw/zelmw.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelmw;

namespace {

// The rows of MODEL, each its cells joined, sorted.
QStringList viewRows(const QAbstractItemModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows << cells.join('|');
    }
    rows.sort();
    return rows;
}

// The same read from the map in use through the library.
QStringList mapRows()
{
    QStringList rows;
    const NetworkMapSharedPtr map = InUseMapController::getInstance()->getInUseNetworkMap();
    for (const auto &device : map->getNwMapObjectList()) {
        const QString role = device->getId() == map->getMasterDeviceId() ? "master gateway"
            : device->getId() == map->getLocalZelPcId()                  ? "this PC"
                                                                         : "";
        rows << QStringList { device->getTypeName(),
                              device->hasUserDefinedName() ? device->getUserDefinedName()
                                                           : device->getName(),
                              device->getIpAddress(),
                              device->getMacAddress(),
                              device->getIsConnected() ? "yes" : "no",
                              device->getConnectionType() == LAN_TYPE_WIRELESS ? "yes" : "no",
                              role }
                    .join('|');
    }
    rows.sort();
    return rows;
}

} // namespace

class TestZelview : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true); // the user's settings stay untouched
        QLoggingCategory::setFilterRules(QStringLiteral("MIDDLEWARE.info=false"));
        QVERIFY(dir.isValid());
        QString error;
        QVERIFY2(StoreSetup::open(dir.filePath("data"), StoreSetup::Use::Read, error),
                 qPrintable(error));
    }

    void showsTheReplayedMap()
    {
        MainWindow window(true);
        QSignalSpy runs(&window, &MainWindow::runFinished);
        QSignalSpy shots(&window, &MainWindow::screenshotDone);
        QString error;
        QVERIFY2(window.startReplay(ZEL_SOURCE_DIR "/examples/home-scan.jsonl", 0, error),
                 qPrintable(error));
        const QString png = dir.filePath("zelview.png");
        window.screenshotWhenSettled(png);
        window.show();
        QVERIFY(shots.wait(60000));
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs.first().at(0).toInt(), 0);
        QCOMPARE(shots.first().at(0).toInt(), 0);
        const QImage image(png);
        QVERIFY(!image.isNull() && image.width() > 0 && image.height() > 0);

        const auto *table = window.findChild<QTableView *>("devices");
        QVERIFY(table);
        const QStringList all = mapRows();
        QVERIFY(all.size() > 10);
        QCOMPARE(viewRows(*table->model()), all);
        const auto *status = window.findChild<QLabel *>("mapStatus");
        QVERIFY(status);
        QVERIFY2(status->text().contains(QString::number(all.size()) + " devices"),
                 qPrintable(status->text()));

        // Any column, whatever the case: names, addresses, roles.
        auto *filter = window.findChild<QLineEdit *>("filter");
        QVERIFY(filter);
        for (const QString &needle :
             { QStringLiteral("LAPTOP"), QStringLiteral("a0:20:a6"), QStringLiteral("Master") }) {
            QStringList expected;
            for (const QString &row : all) {
                if (row.contains(needle, Qt::CaseInsensitive))
                    expected << row;
            }
            QVERIFY(!expected.isEmpty() && expected.size() < all.size());
            filter->setText(needle);
            QCOMPARE(viewRows(*table->model()), expected);
        }
        filter->setText("no device is called this");
        QCOMPARE(table->model()->rowCount(), 0);
        filter->clear();
        QCOMPARE(viewRows(*table->model()), all);

        // Ctrl+F reaches the filter from anywhere, Tab goes on to the table.
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QWidget *>("mapPicture")->setFocus();
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), filter);
        QTest::keyClick(filter, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), table);

        window.screenshotWhenSettled(dir.filePath("missing/zelview.png"));
        QVERIFY(shots.wait(60000));
        QCOMPARE(shots.last().at(0).toInt(), 1);
        QVERIFY(shots.last().at(1).toString().contains("missing/zelview.png"));
    }

    // The program itself, on a store of its own: the screenshot, at once without a replay,
    // and one line on stderr with a non-zero status when it cannot be written.
    void screenshotFromTheCommandLine()
    {
        const QString png = dir.filePath("empty.png");
        for (const QString &path : { png, dir.filePath("missing/empty.png") }) {
            QProcess zelview;
            zelview.start(ZELVIEW_BINARY,
                          { "--data-dir", dir.filePath("empty"), "--screenshot", path });
            QVERIFY(zelview.waitForFinished(60000));
            const bool written = path == png;
            QCOMPARE(zelview.exitCode(), written ? 0 : 1);
            const QByteArray err = zelview.readAllStandardError();
            if (written)
                QVERIFY2(!QImage(png).isNull(), err.constData());
            else
                QVERIFY2(err.count("\nzelview: ") + err.startsWith("zelview: ") == 1
                             && err.contains("zelview: cannot write"),
                         err.constData());
        }
    }
};

QTEST_MAIN(TestZelview)
#include "tst_zelview.moc"
