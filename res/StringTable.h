#pragma once

#include <QString>

namespace res {

// The string with number `id` from the string table; empty when there is none.
QString LoadString(int id);

} // namespace res
