#include "PortNames.h"

#include <gtest/gtest.h>
#include <stdlib.h>

TEST(DevicePathForName, ComNamesFollowTheEnvironmentElseTheSerialDevices) {
    setenv("VTL_MODBUS_COM3", "/dev/ttyUSB0", 1);
    setenv("VTL_MODBUS_COM4", "", 1);
    unsetenv("VTL_MODBUS_COM1");
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"Com1", "/dev/ttyS0"},
        {"Com3", "/dev/ttyUSB0"},
        {"com3", "/dev/ttyUSB0"},
        {"COM10", "/dev/ttyS9"},
        {"Com4", "/dev/ttyS3"},
        {"Com256", "/dev/ttyS255"},
        {"Com0", "Com0"},
        {"Com", "Com"},
        {"ComX", "ComX"},
        {"Com1a", "Com1a"},
        {"/dev/pts/7", "/dev/pts/7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DevicePathForName(c.name), c.path) << c.name;
    }
}
