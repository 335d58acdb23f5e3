#ifndef ZELMW_VOCABULARY_SAMETEXT_P_H
#define ZELMW_VOCABULARY_SAMETEXT_P_H

#include <QStringView>

#include <cstring>

namespace zelmw {

// Whether A and B hold the same characters, found by their bytes. Qt 6.4's operator== of two
// QStrings asks their ordering, which costs several times as much, and the model compares
// names and addresses by the thousand.
inline bool sameText(QStringView a, QStringView b)
{
    return a.size() == b.size()
        && std::memcmp(a.data(), b.data(), size_t(a.size()) * sizeof(QChar)) == 0;
}

} // namespace zelmw

#endif // ZELMW_VOCABULARY_SAMETEXT_P_H
