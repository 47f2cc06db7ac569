#pragma once

// What a screen reader hears of the program's own captions: one with an accessible name of its
// own (a slot) reports its text as its value. (The list boxes are Qt list views, which report
// themselves as lists with their names as items.) Installed once, before the first window.
void installAccessibility();
