#include <zelscan/Scanner.h>

namespace zelscan {

Scanner::Scanner(QObject *parent)
    : QObject(parent)
{ }

Scanner::~Scanner() = default;

} // namespace zelscan
