#ifndef ZELLOGGER_ZELLOGGER_H
#define ZELLOGGER_ZELLOGGER_H

#include <zellogger/zellogger_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>

class QLoggingCategory;

/// Process-wide logger. Every line goes through Qt's message system under the logging
/// category named by the logger name, so applications filter it with QT_LOGGING_RULES
/// (for example "MIDDLEWARE.info=false") and install their own message handler to route it.
///
/// Levels follow the Log4Qt scale: below WARNING_LEVEL is information, from WARNING_LEVEL a
/// warning, ERROR and above is critical. Safe to call from any thread. There is one instance,
/// from getInstance(); it is not copyable.
class ZELLOGGER_EXPORT ZelLogger
{
public:
    /// @enum Level
    /// The levels the library logs at; any other number counts by the range it falls in.
    /// @var INFO_LEVEL
    /// Information: logged as a Qt info message.
    /// @var WARNING_LEVEL
    /// A warning: logged as a Qt warning message.
    /// @var ERROR_LEVEL
    /// An error: logged as a Qt critical message.
    enum Level { INFO_LEVEL = 128, WARNING_LEVEL = 150, ERROR_LEVEL = 182 };

    /// The process's one logger, made on first use and never null.
    static boost::shared_ptr<ZelLogger> getInstance();

    /// Logs MESSAGE, as it is, at LEVEL under the category LOGGERNAME; the category is made on
    /// first use of the name and kept for the life of the process.
    void log(const QString &message, int level, const QString &loggerName) const;

    ///@{
    /// @brief Not copyable: there is one logger.
    ZelLogger(const ZelLogger &) = delete;
    ZelLogger &operator=(const ZelLogger &) = delete;
    ///@}
    /// Destroyed with the last reference to the instance, as the process ends.
    ~ZelLogger();

private:
    ZelLogger();
    const QLoggingCategory &category(const QString &loggerName) const;

    struct Categories;
    const std::unique_ptr<Categories> m_categories;
};

#endif // ZELLOGGER_ZELLOGGER_H
