#pragma once

// What a screen reader hears of the program's own controls: list boxes report themselves as
// lists with their names as items, and a caption with an accessible name of its own (a slot)
// reports its text as its value. Installed once, before the first window.
void installAccessibility();
