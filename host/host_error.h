// What the stand-in engine throws for bad input: a plug-in that cannot be loaded, an unknown export,
// a name given twice. The text says what was wrong and with which name or path.
#ifndef VTR3_HOST_ERROR_H
#define VTR3_HOST_ERROR_H

#include <stdexcept>

namespace host {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace host

#endif
