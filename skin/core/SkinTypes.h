// The enumerations a skin stores by name, shared by the skin records, the ini reader and the painters.
// Their text forms (the ini words) are read and written by the skin ini value layer.
#pragma once

#include <cstdint>

#include "classlib/Types.h"

// How a client background or a nine-part middle is filled.
enum TbsStretchType : std::uint8_t {
    bsstFull = 0,  // stretch both ways
    bsstHorz = 1,  // stretch to the height, repeat across
    bsstVert = 2,  // stretch to the width, repeat downwards
};

// The cross-fade of a caption object between its normal and hot images.
enum TbsMorphKind : std::uint8_t {
    mkDefault,
    mkGradient,
    mkLeftGradient,
    mkRightGradient,
    mkLeftSlide,
    mkRightSlide,
    mkPush,
};

// How an inactive frame is drawn when the skin has no inactive picture.
enum TbsInActiveEffect : std::uint8_t {
    ieBrightness,
    ieDarkness,
    ieGrayScale,
    ieNoise,
    ieSplitBlur,
    ieInvert,
};

// The command of a standard caption button.
enum TbsStdCommand : std::uint8_t {
    cmClose,
    cmMaximize,
    cmMinimize,
    cmSysMenu,
    cmDefault,
    cmRollUp,
    cmMinimizeToTray,
};

// The system colour pairs the colour redirection may replace (a set: bit values).
enum TbsSystemColorHook : std::uint8_t {
    bsschHighLight = 1,
    bsschWindow = 2,
};
using TbsSystemColorHooks = std::uint8_t;

// Font styles of skin texts; the same order as the class library's TFontStyle, so the bits convert one to one.
enum TbsFontStyle : std::uint8_t {
    bsfsBold,
    bsfsItalic,
    bsfsUnderline,
    bsfsStrikeOut,
};
using TbsFontStyles = TSet<TbsFontStyle>;
