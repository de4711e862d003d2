// The glyph a password edit draws for each character; the password dialog passes it on. No windows.h here.
#pragma once

enum TbsPasswordKind { pkRoundRect, pkRect, pkTriangle };
