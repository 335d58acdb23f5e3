#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

DataHandler::DataHandler() = default;
DataHandler::~DataHandler() = default;

} // namespace zelmw
