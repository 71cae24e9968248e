#include "base/base_state.hpp"

namespace base {

State state;

} // namespace base
