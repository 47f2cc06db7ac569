#pragma once

// Written by tools/make_icon.py: the icon drawn at 32x32, one letter a row per pixel,
// "a" to "p" the 16-colour palette in order, "." clear.
constexpr int kIconPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                  0x008080, 0xc0c0c0, 0x808080, 0xff0000, 0x00ff00, 0xffff00,
                                  0x0000ff, 0xff00ff, 0x00ffff, 0xffffff};

constexpr const char* kIconRows[32] = {
    "................................", ".iiiiiiiiiiiiiiiiiiiiiiiiiiiiii.",
    ".ihhhhhhhhhhhhhhhhhhhhhhhhhhhhi.", ".ieeeeeeeeeeeeeeeeeeeeeeekeeeei.",
    ".ieeeeeeeeeeeeeeeeeeeeeeekkeeei.", ".ieeeeeeeeeeeeeeeeekkkkkkkkkeei.",
    ".ieeeeelllleeeeeeeekkkkkkkkkeei.", ".ieeeeelllleeeeeeeelllleekkeeei.",
    ".ieeeeelllleeeeeeelllleeekeeeei.", ".ieeeeelllleeeeeelllleeeeeeeeei.",
    ".ieeeeelllleeeeelllleeeeeeeeeei.", ".ieeeeelllleeeelllleeeeeeeeeeei.",
    ".ieeeeelllleeelllleeeeeeeeeeeei.", ".ieeeeelllleelllleeeeeeeeeeeeei.",
    ".ieeeeellllelllleeeeeeeeeeeeeei.", ".ieeeeelllllllleeeeeeeeeeeeeeei.",
    ".ieeeeelllllllleeeeeeeeeeeeeeei.", ".ieeeeellllelllleeeeeeeeeeeeeei.",
    ".ieeeeelllleelllleeeeeeeeeeeeei.", ".ieeeeelllleeelllleeeeeeeeeeeei.",
    ".ieeeeelllleeeelllleeeeeeeeeeei.", ".ieeeeelllleeeeelllleeeeeeeeeei.",
    ".ieeeeelllleeeeeelllleeeeeeeeei.", ".ieeeeelllleeeeeeeljlleeeeeeeei.",
    ".ieeeeelllleeeeeeejjllleeeeeeei.", ".ieeeeelllleeeeeejjjjjjjjjjeeei.",
    ".ieeeeeeeeeeeeeeejjjjjjjjjjeeei.", ".ieeeeeeeeeeeeeeeejjeeeeeeeeeei.",
    ".ieeeeeeeeeeeeeeeeejeeeeeeeeeei.", ".ieeeeeeeeeeeeeeeeeeeeeeeeeeeei.",
    ".iiiiiiiiiiiiiiiiiiiiiiiiiiiiii.", "................................"};
