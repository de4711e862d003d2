// The drive cases, run by drive-prefix.sh in a Wine prefix whose drives are a: floppy, c: labelled "Data", d: a
// CD-ROM without a label and z: fixed. Outside that prefix they are skipped (the shared session has other drives).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"

namespace {

bool InDrivePrefix() {
    const char* v = std::getenv("TRELM_DRIVE_PREFIX");
    return v && std::string(v) == "1";
}

#define REQUIRE_DRIVE_PREFIX()                                                      \
    if (!InDrivePrefix())                                                           \
    GTEST_SKIP() << "needs the drive prefix of tests/skin/pickers/drive-prefix.sh"

TEST(DrivePrefix, DrivesAsSetUpThroughTheRealCalls) {
    REQUIRE_DRIVE_PREFIX();
    IbsDriveInfo& info = SystemDriveInfo();
    EXPECT_EQ(info.LogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3) | (1u << 25));
    EXPECT_EQ(info.DriveType(L'a'), bsdtRemovable);
    EXPECT_EQ(info.DriveType(L'c'), bsdtFixed);
    EXPECT_EQ(info.DriveType(L'd'), bsdtCDROM);
    EXPECT_EQ(info.DriveType(L'z'), bsdtFixed);
    EXPECT_EQ(VolumeID(L'c'), L"[data]");
    EXPECT_EQ(VolumeID(L'C'), L"[DATA]");
    EXPECT_EQ(VolumeID(L'd'), L"[]");
    EXPECT_EQ(NetworkVolume(L'c'), L"[data]") << "a drive that is not mapped gives its volume";
}

}  // namespace
