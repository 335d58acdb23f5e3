#ifndef ZELLOGGER_ZELLOGGER_H
#define ZELLOGGER_ZELLOGGER_H

#include <zellogger/zellogger_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>

class QLoggingCategory;

// Process-wide logger. Every line goes through Qt's message system under the logging
// category named by the logger name, so applications filter it with QT_LOGGING_RULES
// (for example "MIDDLEWARE.info=false") and install their own message handler to route it.
//
// Levels follow the Log4Qt scale: below WARNING_LEVEL is information, from WARNING_LEVEL a
// warning, ERROR and above is critical. Safe to call from any thread.
class ZELLOGGER_EXPORT ZelLogger
{
public:
    enum Level { INFO_LEVEL = 128, WARNING_LEVEL = 150, ERROR_LEVEL = 182 };

    static boost::shared_ptr<ZelLogger> getInstance();

    void log(const QString &message, int level, const QString &loggerName) const;

    ZelLogger(const ZelLogger &) = delete;
    ZelLogger &operator=(const ZelLogger &) = delete;
    ~ZelLogger();

private:
    ZelLogger();
    const QLoggingCategory &category(const QString &loggerName) const;

    struct Categories;
    const std::unique_ptr<Categories> m_categories;
};

#endif // ZELLOGGER_ZELLOGGER_H
