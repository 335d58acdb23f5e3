#include <zellogger/ZelLogger.h>

#include "LogCapture.h"

#include <QtTest>

#include <thread>
#include <vector>

class TestZelLogger : public QObject
{
    Q_OBJECT

private slots:
    // The two thresholds, from either side; the message passes unquoted.
    void levelMapsToMessageType_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("type");
        QTest::newRow("just below warning") << 149 << int(QtInfoMsg);
        QTest::newRow("warning") << 150 << int(QtWarningMsg);
        QTest::newRow("just below error") << 181 << int(QtWarningMsg);
        QTest::newRow("error") << 182 << int(QtCriticalMsg);
    }

    void levelMapsToMessageType()
    {
        QFETCH(int, level);
        QFETCH(int, type);
        zeltest::LogCapture capture(QStringLiteral("MIDDLEWARE"));
        ZelLogger::getInstance()->log(QStringLiteral("Class::operation - \"42\""), level,
                                      QStringLiteral("MIDDLEWARE"));
        const QList<zeltest::LogCapture::Line> lines = capture.lines();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(int(lines.first().type), type);
        QCOMPARE(lines.first().message, QStringLiteral("Class::operation - \"42\""));
    }

    // The logger name is the category, and categories made by many threads at once all work.
    void manyThreadsManyNames()
    {
        zeltest::LogCapture capture(QStringLiteral("T0"));
        QLoggingCategory::setFilterRules(
            QStringLiteral("T1.info=false\nT2.info=false\nT3.info=false"));
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t] {
                for (int i = 0; i < 200; ++i)
                    ZelLogger::getInstance()->log(QString::number(i), 128,
                                                  QStringLiteral("T%1").arg(t));
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(capture.lines().size(), 200);
    }
};

QTEST_GUILESS_MAIN(TestZelLogger)
#include "tst_zellogger.moc"
