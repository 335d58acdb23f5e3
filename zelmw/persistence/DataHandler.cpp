#include <zelmw/persistence/DataHandler.h>

namespace zelmw {

DataHandler::DataHandler() = default;
DataHandler::~DataHandler() = default;

} // namespace zelmw
