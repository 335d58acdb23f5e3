#ifndef ZELTEST_LOGCAPTURE_H
#define ZELTEST_LOGCAPTURE_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zeltest {

// Collects the Qt messages of one logging category, from any thread, while it lives;
// other messages pass on to the handler installed before it.
class LogCapture
{
public:
    struct Line
    {
        QtMsgType type;
        QString message;
    };

    explicit LogCapture(const QString &category);
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QList<Line> lines() const;
    QStringList messages() const;

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QString m_category;
    QList<Line> m_lines;
    QtMessageHandler m_previous;
};

} // namespace zeltest

#endif // ZELTEST_LOGCAPTURE_H
