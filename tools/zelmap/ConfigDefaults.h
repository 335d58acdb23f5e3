#ifndef ZELMAP_CONFIGDEFAULTS_H
#define ZELMAP_CONFIGDEFAULTS_H

#include <QString>

// The configuration file installed with the package (or the source tree's, when the tool runs
// from the build folder) holds defaults: the tool stores the keys that are not stored yet and
// never changes a stored value, so a value set with "config set" stays. The file's
// "overwrite" flags are for the applications that run the library's initializer themselves.
class ConfigDefaults
{
public:
    // False, with the reason in ERROR, when the file or the store cannot be read, or a missing
    // key cannot be stored. No file at all is not a failure: there is nothing to seed.
    static bool seed(QString &error);
};

#endif // ZELMAP_CONFIGDEFAULTS_H
