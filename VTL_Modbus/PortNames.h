#pragma once

#include <string>

// "ComN" (N from 1) names the device in VTL_MODBUS_COM<N> when that is set, else /dev/ttyS<N-1>.
// Any other name is taken as a device path.
std::string DevicePathForName(const std::string& name);
