#include "QtPrinters.h"
#include "devicelink/PortDevices.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

namespace {

TEST(PortDevices, EachPortNamesItsDevice) {
    QTemporaryDir dir;
    const QString adapter = dir.filePath("adapter");
    QFile(adapter).open(QIODevice::WriteOnly);
    qputenv("VTL_MODBUS_COM2", adapter.toLocal8Bit());
    EXPECT_EQ(PortDevices::devicePath(1), adapter);
    EXPECT_EQ(PortDevices::devicePath(5), "/dev/ttyS5");
    const PortDevices::Probe present = PortDevices::probe(1);
    EXPECT_EQ(present.openError, 0);
    EXPECT_TRUE(present.named);
    EXPECT_EQ(PortDevices::tooltip(present), adapter + ": present, can be opened");
    EXPECT_EQ(PortDevices::failureDetail(present), "");
    qputenv("VTL_MODBUS_COM2", dir.filePath("gone").toLocal8Bit());
    EXPECT_EQ(PortDevices::probe(1).openError, ENOENT);
    qunsetenv("VTL_MODBUS_COM2");
}

// Another program holding the device's lock keeps out even a privileged user, as it keeps out
// the library.
TEST(PortDevices, ALockedDeviceIsHeld) {
    QTemporaryDir dir;
    const QString adapter = dir.filePath("adapter");
    QFile holder(adapter);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    ASSERT_EQ(::flock(holder.handle(), LOCK_EX | LOCK_NB), 0);
    qputenv("VTL_MODBUS_COM3", adapter.toLocal8Bit());
    const PortDevices::Probe held = PortDevices::probe(2);
    EXPECT_EQ(held.openError, EBUSY);
    EXPECT_TRUE(held.holder.endsWith(QStringLiteral("(process %1)").arg(getpid())))
        << held.holder.toStdString();
    qunsetenv("VTL_MODBUS_COM3");
}

// The reason and the fix for what a trial open of the device answered.
TEST(PortDevices, FailuresExplainThemselves) {
    struct Case {
        int error;
        bool named;
        QString holder;
        QString tooltip;
        QString detail;  // empty: no detail
        QString group = "dialout";
        unsigned mode = 0660;
    };
    const QString udevFix =
        "Fix: give the device a group that may read and write it, with a udev rule such as\n"
        "  KERNEL==\"ttyUSB0\", GROUP=\"dialout\", MODE=\"0660\"\nin "
        "/etc/udev/rules.d/50-serial.rules (then: sudo udevadm trigger), and add your user to "
        "that group (sudo usermod -aG dialout $USER, then log out and in again).";
    const Case cases[] = {
        {EACCES, false, "", "/dev/ttyUSB0: present, but your user may not open it (group dialout)",
         "Your user may not read and write /dev/ttyUSB0 (it belongs to the group dialout).\n"
         "Fix: add your user to that group (for example: sudo usermod -aG dialout $USER), then "
         "log out and in again."},
        // Never the advice to join a group that may not use the device, nor the group root.
        {EACCES, false, "", "/dev/ttyUSB0: present, but your user may not open it (group dialout)",
         "Your user may not read and write /dev/ttyUSB0: only its owner root may (owner root, "
         "group dialout, permissions 0600).\n" +
             udevFix,
         "dialout", 0600},
        {EACCES, false, "", "/dev/ttyUSB0: present, but your user may not open it (group root)",
         "Your user may not read and write /dev/ttyUSB0: nobody but root may (owner root, group "
         "root, permissions 0000).\n" +
             udevFix,
         "root", 0},
        {EACCES, false, "", "/dev/ttyUSB0: present, but your user may not open it (group root)",
         "Your user may not read and write /dev/ttyUSB0: only root and the group root may "
         "(owner root, group root, permissions 0660).\n" +
             udevFix,
         "root", 0660},
        {EBUSY, false, "minicom (process 42)",
         "/dev/ttyUSB0: present, held by minicom (process 42)",
         "/dev/ttyUSB0 is held by minicom (process 42).\nFix: close that program (a terminal "
         "emulator, ModemManager or a second dlmanager), then try again."},
        {EBUSY, false, "", "/dev/ttyUSB0: present, held by another program",
         "/dev/ttyUSB0 is held by another program.\nFix: close that program (a terminal "
         "emulator, ModemManager or a second dlmanager), then try again."},
        {ENOENT, false, "", "/dev/ttyUSB0: does not exist",
         "/dev/ttyUSB0 does not exist.\nFix: plug in the serial adapter, or name its device in "
         "VTL_MODBUS_COM1 (for example VTL_MODBUS_COM1=/dev/ttyUSB0)."},
        {ENOENT, true, "", "/dev/ttyUSB0: does not exist",
         "/dev/ttyUSB0, named by VTL_MODBUS_COM1, does not exist.\nFix: plug in the serial "
         "adapter, or correct VTL_MODBUS_COM1."},
        {EIO, false, "", "/dev/ttyUSB0: present, cannot be opened: Input/output error", ""},
    };
    for (const Case& c : cases) {
        PortDevices::Probe probe;
        probe.path = "/dev/ttyUSB0";
        probe.variable = "VTL_MODBUS_COM1";
        probe.named = c.named;
        probe.openError = c.error;
        probe.group = c.group;
        probe.owner = "root";
        probe.mode = c.mode;
        probe.holder = c.holder;
        EXPECT_EQ(PortDevices::tooltip(probe), c.tooltip);
        EXPECT_EQ(PortDevices::failureDetail(probe), c.detail);
    }
}

}  // namespace
