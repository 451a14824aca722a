#include "dialog/nib_gyre.h"

#include <cstring>
#include <iterator>

// The parameter window is 598 pixels
// high; the preview (item 18) takes the left half, settings the right.
namespace {

const UiItemDefinition kXParams[] = {
    {kItemSignature, 18, kUiKindCustom, ItemCommand(18), {10, 10, 370, 490}, 0, 0, 1, "", kProxyViewClassID, 0},
    {kItemSignature, 32, kUiKindPushButton, ItemCommand(32), {376, 10, 398, 50}, 0, 0, 1, "+", nullptr, 0},
    {kItemSignature, 33, kUiKindPushButton, ItemCommand(33), {376, 56, 398, 96}, 0, 0, 1, "-", nullptr, 0},
    {kItemSignature, 34, kUiKindPushButton, ItemCommand(34), {376, 102, 398, 162}, 0, 0, 1, "100%", nullptr, 0},
    {kItemSignature, 76, kUiKindStaticText, ItemCommand(76), {378, 172, 396, 490}, 0, 0, 1, "Gyrelle 2 settings", nullptr, 0},
    {kItemSignature, 50, kUiKindStaticText, ItemCommand(50), {12, 505, 30, 575}, 0, 0, 1, "Output", nullptr, 0},
    {kItemSignature, 51, kUiKindPopup, ItemCommand(51), {10, 577, 32, 805}, 1, 1, 301, "", nullptr, 0},
    {kItemSignature, 94, kUiKindPushButton, ItemCommand(94), {10, 811, 32, 845}, 0, 0, 1, ">", nullptr, 0},
    {kItemSignature, 49, kUiKindStaticText, ItemCommand(49), {40, 505, 58, 575}, 0, 0, 1, "Input", nullptr, 0},
    {kItemSignature, 12, kUiKindPopup, ItemCommand(12), {38, 577, 60, 805}, 1, 1, 30, "", nullptr, 0},
    {kItemSignature, 97, kUiKindPushButton, ItemCommand(97), {38, 811, 60, 845}, 0, 0, 1, ">", nullptr, 0},
    {kItemSignature, 70, kUiKindStaticText, ItemCommand(70), {68, 505, 86, 575}, 0, 0, 1, "Glue", nullptr, 0},
    {kItemSignature, 73, kUiKindPopup, ItemCommand(73), {66, 577, 88, 805}, 1, 1, 62, "", nullptr, 0},
    {kItemSignature, 81, kUiKindPushButton, ItemCommand(81), {66, 811, 88, 845}, 0, 0, 1, ">", nullptr, 0},
    {kItemSignature, 53, kUiKindStaticText, ItemCommand(53), {96, 505, 114, 575}, 0, 0, 1, "Grid", nullptr, 0},
    {kItemSignature, 21, kUiKindPopup, ItemCommand(21), {94, 577, 116, 805}, 1, 1, 7, "", nullptr, 0},
    {kItemSignature, 13, kUiKindPushButton, ItemCommand(13), {94, 811, 116, 845}, 0, 0, 1, ">", nullptr, 0},
    {kItemSignature, 62, kUiKindStaticText, ItemCommand(62), {124, 505, 142, 575}, 0, 0, 1, "Quality", nullptr, 0},
    {kItemSignature, 52, kUiKindPopup, ItemCommand(52), {122, 577, 144, 805}, 1, 1, 3, "", nullptr, 0},
    {kItemSignature, 110, kUiKindPushButton, ItemCommand(110), {122, 811, 144, 845}, 0, 0, 1, ">", nullptr, 0},
    {kItemSignature, 41, kUiKindStaticText, ItemCommand(41), {154, 505, 172, 705}, 0, 0, 1, "Rotation and view", nullptr, 0},
    {kItemSignature, 36, kUiKindStaticText, ItemCommand(36), {176, 505, 194, 575}, 0, 0, 1, "Tilt", nullptr, 0},
    {kItemSignature, 37, kUiKindSlider, ItemCommand(37), {174, 577, 196, 787}, 0, -90, 90, "", nullptr, 0},
    {kItemSignature, 86, kUiKindEditText, ItemCommand(86), {174, 793, 196, 845}, 0, 0, 1, "0", nullptr, 0},
    {kItemSignature, 56, kUiKindStaticText, ItemCommand(56), {202, 505, 220, 575}, 0, 0, 1, "Turn", nullptr, 0},
    {kItemSignature, 57, kUiKindSlider, ItemCommand(57), {200, 577, 222, 787}, 0, -180, 180, "", nullptr, 0},
    {kItemSignature, 91, kUiKindEditText, ItemCommand(91), {200, 793, 222, 845}, 0, 0, 1, "0", nullptr, 0},
    {kItemSignature, 38, kUiKindStaticText, ItemCommand(38), {228, 505, 246, 575}, 0, 0, 1, "Spin", nullptr, 0},
    {kItemSignature, 39, kUiKindSlider, ItemCommand(39), {226, 577, 248, 787}, 0, -180, 180, "", nullptr, 0},
    {kItemSignature, 85, kUiKindEditText, ItemCommand(85), {226, 793, 248, 845}, 0, 0, 1, "0", nullptr, 0},
    {kItemSignature, 102, kUiKindStaticText, ItemCommand(102), {254, 505, 272, 575}, 0, 0, 1, "View", nullptr, 0},
    {kItemSignature, 103, kUiKindSlider, ItemCommand(103), {252, 577, 274, 787}, 120, 1, 180, "", nullptr, 0},
    {kItemSignature, 104, kUiKindEditText, ItemCommand(104), {252, 793, 274, 845}, 0, 0, 1, "0", nullptr, 0},
    {kItemSignature, 58, kUiKindStaticText, ItemCommand(58), {280, 505, 298, 575}, 0, 0, 1, "Tabs", nullptr, 0},
    {kItemSignature, 59, kUiKindSlider, ItemCommand(59), {278, 577, 300, 787}, 0, 0, 100, "", nullptr, 0},
    {kItemSignature, 92, kUiKindEditText, ItemCommand(92), {278, 793, 300, 845}, 0, 0, 1, "0", nullptr, 0},
    {kItemSignature, 60, kUiKindStaticText, ItemCommand(60), {306, 505, 324, 575}, 0, 0, 1, "Sharpen", nullptr, 0},
    {kItemSignature, 61, kUiKindSlider, ItemCommand(61), {304, 577, 326, 787}, 0, 0, 100, "", nullptr, 0},
    {kItemSignature, 93, kUiKindEditText, ItemCommand(93), {304, 793, 326, 845}, 0, 0, 1, "0", nullptr, 0},
    {kItemSignature, 30, kUiKindCheckbox, ItemCommand(30), {334, 505, 354, 670}, 0, 0, 1, "Auto preview", nullptr, 0},
    {kItemSignature, 48, kUiKindCheckbox, ItemCommand(48), {334, 675, 354, 840}, 0, 0, 1, "Mirror input", nullptr, 0},
    {kItemSignature, 90, kUiKindCheckbox, ItemCommand(90), {356, 505, 376, 670}, 0, 0, 1, "Transparent void", nullptr, 0},
    {kItemSignature, 71, kUiKindCheckbox, ItemCommand(71), {356, 675, 376, 840}, 0, 0, 1, "Tissot circles", nullptr, 0},
    {kItemSignature, 118, kUiKindCheckbox, ItemCommand(118), {378, 505, 398, 670}, 0, 0, 1, "Region edges", nullptr, 0},
    {kItemSignature, 105, kUiKindCheckbox, ItemCommand(105), {378, 675, 398, 840}, 0, 0, 1, "False colours", nullptr, 0},
    {kItemSignature, 28, kUiKindCheckbox, ItemCommand(28), {400, 505, 420, 670}, 0, 0, 1, "Anamorphic", nullptr, 0},
    {kItemSignature, 4, kUiKindCheckbox, ItemCommand(4), {400, 675, 420, 840}, 0, 0, 1, "Gaussian kernel", nullptr, 0},
    {kItemSignature, 54, kUiKindStaticText, ItemCommand(54), {428, 505, 446, 575}, 0, 0, 1, "Faces", nullptr, 0},
    {kItemSignature, 22, kUiKindStaticText, ItemCommand(22), {428, 585, 446, 645}, 0, 0, 1, "Colours", nullptr, 0},
    {kItemSignature, 23, kUiKindStaticText, ItemCommand(23), {428, 650, 446, 665}, 0, 0, 1, "A", nullptr, 0},
    {kItemSignature, 7, kUiKindCustom, ItemCommand(7), {426, 667, 448, 697}, 0, 0, 1, "", kColorSwatchClassID, 0},
    {kItemSignature, 31, kUiKindStaticText, ItemCommand(31), {428, 705, 446, 720}, 0, 0, 1, "B", nullptr, 0},
    {kItemSignature, 8, kUiKindCustom, ItemCommand(8), {426, 722, 448, 752}, 0, 0, 1, "", kColorSwatchClassID, 0},
    {kItemSignature, 72, kUiKindBevelButton, ItemCommand(72), {456, 505, 478, 587}, 0, 0, 1, "Dice", nullptr, 0},
    {kItemSignature, 46, kUiKindBevelButton, ItemCommand(46), {456, 591, 478, 673}, 0, 0, 1, "Dice 90", nullptr, 0},
    {kItemSignature, 75, kUiKindBevelButton, ItemCommand(75), {456, 677, 478, 759}, 0, 0, 1, "Straighten", nullptr, 0},
    {kItemSignature, 74, kUiKindBevelButton, ItemCommand(74), {456, 763, 478, 845}, 0, 0, 1, "Undo", nullptr, 0},
    {kItemSignature, 26, kUiKindBevelButton, ItemCommand(26), {482, 505, 504, 587}, 0, 0, 1, "Save", nullptr, 0},
    {kItemSignature, 35, kUiKindBevelButton, ItemCommand(35), {482, 591, 504, 673}, 0, 0, 1, "Load", nullptr, 0},
    {kItemSignature, 15, kUiKindBevelButton, ItemCommand(15), {482, 677, 504, 759}, 0, 0, 1, "Presets", nullptr, 0},
    {kItemSignature, 40, kUiKindBevelButton, ItemCommand(40), {482, 763, 504, 845}, 0, 0, 1, "PSD", nullptr, 0},
    {kItemSignature, 65, kUiKindBevelButton, ItemCommand(65), {508, 505, 530, 587}, 0, 0, 1, "Cube map", nullptr, 0},
    {kItemSignature, 83, kUiKindBevelButton, ItemCommand(83), {508, 591, 530, 673}, 0, 0, 1, "Faces", nullptr, 0},
    {kItemSignature, 64, kUiKindBevelButton, ItemCommand(64), {508, 677, 530, 759}, 0, 0, 1, "Bricks", nullptr, 0},
    {kItemSignature, 9, kUiKindBevelButton, ItemCommand(9), {508, 763, 530, 845}, 0, 0, 1, "Planet", nullptr, 0},
    {kItemSignature, 96, kUiKindBevelButton, ItemCommand(96), {534, 505, 556, 587}, 0, 0, 1, "Photos", nullptr, 0},
    {kItemSignature, 99, kUiKindBevelButton, ItemCommand(99), {534, 591, 556, 673}, 0, 0, 1, "Info", nullptr, 0},
    {kItemSignature, 63, kUiKindBevelButton, ItemCommand(63), {534, 677, 556, 759}, 0, 0, 1, "Gallery", nullptr, 0},
    {kItemSignature, 222, kUiKindBevelButton, ItemCommand(222), {534, 763, 556, 845}, 0, 0, 1, "All modes", nullptr, 0},
    {kItemSignature, 79, kUiKindStaticText, ItemCommand(79), {406, 10, 424, 80}, 0, 0, 1, "Memory", nullptr, 0},
    {kItemSignature, 120, kUiKindGroup, ItemCommand(120), {426, 10, 576, 168}, 0, 0, 1, "", nullptr, 0},
    {kItemSignature, 10, kUiKindBevelButton, ItemCommand(10), {436, 20, 462, 46}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 47, kUiKindBevelButton, ItemCommand(47), {436, 50, 462, 76}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 113, kUiKindBevelButton, ItemCommand(113), {436, 80, 462, 106}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 112, kUiKindBevelButton, ItemCommand(112), {436, 110, 462, 136}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 111, kUiKindBevelButton, ItemCommand(111), {436, 140, 462, 166}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 108, kUiKindBevelButton, ItemCommand(108), {436, 170, 462, 196}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 80, kUiKindBevelButton, ItemCommand(80), {436, 200, 462, 226}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 78, kUiKindBevelButton, ItemCommand(78), {436, 230, 462, 256}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 27, kUiKindBevelButton, ItemCommand(27), {436, 260, 462, 286}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 6, kUiKindBevelButton, ItemCommand(6), {436, 290, 462, 316}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 29, kUiKindBevelButton, ItemCommand(29), {436, 320, 462, 346}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 20, kUiKindBevelButton, ItemCommand(20), {436, 350, 462, 376}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 68, kUiKindBevelButton, ItemCommand(68), {436, 380, 462, 406}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 66, kUiKindBevelButton, ItemCommand(66), {470, 20, 496, 46}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 42, kUiKindBevelButton, ItemCommand(42), {470, 50, 496, 76}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 87, kUiKindBevelButton, ItemCommand(87), {470, 80, 496, 106}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 77, kUiKindBevelButton, ItemCommand(77), {470, 110, 496, 136}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 44, kUiKindBevelButton, ItemCommand(44), {470, 140, 496, 166}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 24, kUiKindBevelButton, ItemCommand(24), {470, 170, 496, 196}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 88, kUiKindBevelButton, ItemCommand(88), {470, 200, 496, 226}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 95, kUiKindBevelButton, ItemCommand(95), {470, 230, 496, 256}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 89, kUiKindBevelButton, ItemCommand(89), {470, 260, 496, 286}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 19, kUiKindBevelButton, ItemCommand(19), {470, 290, 496, 316}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 14, kUiKindBevelButton, ItemCommand(14), {470, 320, 496, 346}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 16, kUiKindBevelButton, ItemCommand(16), {470, 350, 496, 376}, 0, 0, 1, "", nullptr, 120},
    {kItemSignature, 98, kUiKindCustom, ItemCommand(98), {437, 36, 533, 132}, 0, 0, 1, "", kMemoryWellClassID, 0},
    {kItemSignature, 82, kUiKindStaticText, ItemCommand(82), {430, 180, 448, 300}, 0, 0, 1, "Export", nullptr, 0},
    {kItemSignature, 84, kUiKindStaticText, ItemCommand(84), {500, 180, 518, 300}, 0, 0, 1, "Presets", nullptr, 0},
    {kItemSignature, 116, kUiKindStaticText, ItemCommand(116), {540, 180, 558, 300}, 0, 0, 1, "Gyrelle 2", nullptr, 0},
    {kItemSignature, 117, kUiKindStaticText, ItemCommand(117), {560, 180, 578, 300}, 0, 0, 1, "", nullptr, 0},
    // The drag button (the result goes out as a layered file), the
    // trackball (tilt and turn) and the angle dial (spin).
    {kPluginCreator, kDragButtonID, kUiKindCustom, kCmdDragButton, {452, 180, 488, 216}, 0, 0, 1, "", kDragButtonClassID, 0},
    {kPluginCreator, kTrackballID, kUiKindCustom, kCmdTrackball, {516, 316, 590, 390}, 0, 0, 1, "", kBallControlClassID, 0},
    {kPluginCreator, kAngleDialID, kUiKindCustom, kCmdAngleDial, {516, 410, 590, 484}, 0, 0, 1, "", kAngleControlClassID, 0},
    {kPluginCreator, kTrackballLabelID, kUiKindStaticText, 0, {498, 334, 514, 390}, 0, 0, 1, "Rotate", nullptr, 0},
    {kPluginCreator, kAngleDialLabelID, kUiKindStaticText, 0, {498, 436, 514, 484}, 0, 0, 1, "Spin", nullptr, 0},
    {kItemSignature, 25, kUiKindPushButton, ItemCommand(25), {564, 505, 586, 585}, 0, 0, 1, "About", nullptr, 0},
    {kItemSignature, 5, kUiKindPushButton, MakeFourCC("TWWB"), {564, 591, 586, 671}, 0, 0, 1, "Web page", nullptr, 0},
    {kItemSignature, 3, kUiKindPushButton, kUiCommandCancel, {564, 677, 586, 757}, 0, 0, 1, "Cancel", nullptr, 0},
    {kItemSignature, 2, kUiKindPushButton, kUiCommandOK, {564, 763, 586, 845}, 0, 0, 1, "OK", nullptr, 0},
};

const UiItemDefinition kAbout[] = {
    {kItemSignature, 1, kUiKindStaticText, 0, {16, 20, 34, 380}, 0, 0, 0, "Gyrelle 2", nullptr, 0},
    {kItemSignature, 2, kUiKindStaticText, 0, {40, 20, 58, 380}, 0, 0, 0, "Re-projects a picture of the whole sphere", nullptr, 0},
    {kItemSignature, 3, kUiKindStaticText, 0, {58, 20, 76, 380}, 0, 0, 0, "of directions into other layouts.", nullptr, 0},
    {kItemSignature, 4, kUiKindPushButton, kUiCommandOK, {96, 300, 118, 380}, 0, 0, 1, "OK", nullptr, 0},
};

const UiItemDefinition kQuickInfo[] = {
    {kItemSignature, 1, kUiKindStaticText, 0, {16, 20, 34, 420}, 0, 0, 0, "Quick info", nullptr, 0},
    {kItemSignature, 2, kUiKindStaticText, 0, {40, 20, 58, 420}, 0, 0, 0, "Drag in the preview to pan; click to pick a point.", nullptr, 0},
    {kItemSignature, 3, kUiKindStaticText, 0, {58, 20, 76, 420}, 0, 0, 0, "Sliders take typed values; the preview follows.", nullptr, 0},
    {kItemSignature, 4, kUiKindPushButton, kUiCommandOK, {96, 340, 118, 420}, 0, 0, 1, "OK", nullptr, 0},
};

const UiItemDefinition kProgress[] = {
    {kItemSignature, 1, kUiKindProgressBar, 0, {20, 20, 36, 380}, 0, 0, 1000, nullptr, nullptr, 0},
    {kItemSignature, 2, kUiKindStaticText, 0, {44, 20, 62, 300}, 0, 0, 0, "Exporting...", nullptr, 0},
    {kPluginCreator, 9, kUiKindPushButton, kUiCommandCancel, {70, 300, 92, 380}, 0, 0, 1, "Cancel", nullptr, 0},
};

// The export sheets: their settings, then OK and Cancel (items 1 and 2).
const UiItemDefinition kSizedSheet[] = {
    {kItemSignature, 5, kUiKindStaticText, 0, {16, 20, 34, 320}, 0, 0, 0, "Size of the layered result", nullptr, 0},
    {kItemSignature, 7, kUiKindPopup, MakeFourCC("PSSZ"), {40, 20, 62, 220}, 1, 1, 3, nullptr, nullptr, 0},
    {kItemSignature, 8, kUiKindStaticText, 0, {72, 20, 90, 62}, 0, 0, 0, "Width", nullptr, 0},
    {kItemSignature, 3, kUiKindEditText, MakeFourCC("PSXX"), {70, 64, 92, 134}, 0, 0, 0, "100", nullptr, 0},
    {kItemSignature, 9, kUiKindStaticText, 0, {72, 150, 90, 196}, 0, 0, 0, "Height", nullptr, 0},
    {kItemSignature, 4, kUiKindEditText, MakeFourCC("PSYY"), {70, 198, 92, 268}, 0, 0, 0, "100", nullptr, 0},
    {kItemSignature, 1, kUiKindPushButton, kUiCommandOK, {108, 240, 130, 320}, 0, 0, 1, "OK", nullptr, 0},
    {kItemSignature, 2, kUiKindPushButton, kUiCommandCancel, {108, 150, 130, 230}, 0, 0, 1, "Cancel", nullptr, 0},
};

const UiItemDefinition kCubeSheet[] = {
    {kItemSignature, 5, kUiKindStaticText, 0, {16, 20, 34, 320}, 0, 0, 0, "Pixels along a cube face", nullptr, 0},
    {kItemSignature, 3, kUiKindEditText, 0, {40, 20, 62, 110}, 0, 0, 0, "512", nullptr, 0},
    {kItemSignature, 1, kUiKindPushButton, kUiCommandOK, {84, 240, 106, 320}, 0, 0, 1, "OK", nullptr, 0},
    {kItemSignature, 2, kUiKindPushButton, kUiCommandCancel, {84, 150, 106, 230}, 0, 0, 1, "Cancel", nullptr, 0},
};

const UiItemDefinition kPolyhedronSheet[] = {
    {kItemSignature, 5, kUiKindStaticText, 0, {16, 20, 34, 320}, 0, 0, 0, "Export the polyhedron as", nullptr, 0},
    {kItemSignature, 7, kUiKindPopup, 0, {40, 20, 62, 220}, 1, 1, 3, nullptr, nullptr, 0},
    {kItemSignature, 6, kUiKindStaticText, 0, {72, 20, 90, 120}, 0, 0, 0, "Size", nullptr, 0},
    {kItemSignature, 3, kUiKindEditText, 0, {70, 130, 92, 220}, 0, 0, 0, "1024", nullptr, 0},
    {kItemSignature, 1, kUiKindPushButton, kUiCommandOK, {108, 240, 130, 320}, 0, 0, 1, "OK", nullptr, 0},
    {kItemSignature, 2, kUiKindPushButton, kUiCommandCancel, {108, 150, 130, 230}, 0, 0, 1, "Cancel", nullptr, 0},
};

// Checkboxes 11..22 are the twelve brick colours of the palette.
const UiItemDefinition kBrickSheet[] = {
    {kItemSignature, 5, kUiKindStaticText, 0, {16, 20, 34, 120}, 0, 0, 0, "Layers", nullptr, 0},
    {kItemSignature, 3, kUiKindEditText, 0, {14, 130, 36, 200}, 0, 0, 0, "20", nullptr, 0},
    {kItemSignature, 8, kUiKindCheckbox, 0, {44, 20, 64, 170}, 0, 0, 1, "Layer plan", nullptr, 0},
    {kItemSignature, 9, kUiKindCheckbox, 0, {44, 175, 64, 330}, 0, 0, 1, "Statistics", nullptr, 0},
    {kItemSignature, 10, kUiKindCheckbox, 0, {66, 20, 86, 170}, 0, 0, 1, "LDraw model", nullptr, 0},
    {kItemSignature, 6, kUiKindCheckbox, 0, {66, 175, 86, 330}, 0, 0, 1, "Dither", nullptr, 0},
    {kItemSignature, 35, kUiKindCheckbox, 0, {88, 20, 108, 170}, 0, 0, 1, "Plates", nullptr, 0},
    {kItemSignature, 11, kUiKindCheckbox, 0, {116, 20, 136, 70}, 0, 0, 1, "1", nullptr, 0},
    {kItemSignature, 12, kUiKindCheckbox, 0, {116, 72, 136, 122}, 0, 0, 1, "2", nullptr, 0},
    {kItemSignature, 13, kUiKindCheckbox, 0, {116, 124, 136, 174}, 0, 0, 1, "3", nullptr, 0},
    {kItemSignature, 14, kUiKindCheckbox, 0, {116, 176, 136, 226}, 0, 0, 1, "4", nullptr, 0},
    {kItemSignature, 15, kUiKindCheckbox, 0, {116, 228, 136, 278}, 0, 0, 1, "5", nullptr, 0},
    {kItemSignature, 16, kUiKindCheckbox, 0, {116, 280, 136, 330}, 0, 0, 1, "6", nullptr, 0},
    {kItemSignature, 17, kUiKindCheckbox, 0, {138, 20, 158, 70}, 0, 0, 1, "7", nullptr, 0},
    {kItemSignature, 18, kUiKindCheckbox, 0, {138, 72, 158, 122}, 0, 0, 1, "8", nullptr, 0},
    {kItemSignature, 19, kUiKindCheckbox, 0, {138, 124, 158, 174}, 0, 0, 1, "9", nullptr, 0},
    {kItemSignature, 20, kUiKindCheckbox, 0, {138, 176, 158, 226}, 0, 0, 1, "10", nullptr, 0},
    {kItemSignature, 21, kUiKindCheckbox, 0, {138, 228, 158, 278}, 0, 0, 1, "11", nullptr, 0},
    {kItemSignature, 22, kUiKindCheckbox, 0, {138, 280, 158, 330}, 0, 0, 1, "12", nullptr, 0},
    {kItemSignature, 1, kUiKindPushButton, kUiCommandOK, {172, 240, 194, 320}, 0, 0, 1, "OK", nullptr, 0},
    {kItemSignature, 2, kUiKindPushButton, kUiCommandCancel, {172, 150, 194, 230}, 0, 0, 1, "Cancel", nullptr, 0},
};

const UiWindowDefinition kWindows[] = {
    {"xparams", "Gyrelle 2", 860, 598, kUiWindowClassMovableModal, kUiWindowResizable, kXParams, int32_t(std::size(kXParams))},
    {"about", "About Gyrelle 2", 400, 130, kUiWindowClassMovableModal, 0, kAbout, int32_t(std::size(kAbout))},
    {"aboutsheet", "", 400, 130, kUiWindowClassSheet, 0, kAbout, int32_t(std::size(kAbout))},
    {"quickinfo", "Info", 440, 130, kUiWindowClassMovableModal, 0, kQuickInfo, int32_t(std::size(kQuickInfo))},
    {"progress", "Progress", 400, 104, kUiWindowClassMovableModal, 0, kProgress, int32_t(std::size(kProgress))},
    {"brick sphere", "", 340, 206, kUiWindowClassSheet, 0, kBrickSheet, int32_t(std::size(kBrickSheet))},
    {"cubemap", "", 340, 118, kUiWindowClassSheet, 0, kCubeSheet, int32_t(std::size(kCubeSheet))},
    {"Export polyhedron", "", 340, 142, kUiWindowClassSheet, 0, kPolyhedronSheet, int32_t(std::size(kPolyhedronSheet))},
    {"Export PSD with size", "", 340, 142, kUiWindowClassSheet, 0, kSizedSheet, int32_t(std::size(kSizedSheet))},
};

}  // namespace

const UiWindowDefinition* FindGyreWindow(const char* name) {
  if (!name) return nullptr;
  for (const UiWindowDefinition& w : kWindows)
    if (std::strcmp(w.name, name) == 0) return &w;
  return nullptr;
}

int32_t GyreWindowCount() { return int32_t(std::size(kWindows)); }

const UiWindowDefinition* GyreWindowAt(int32_t index) {
  return index >= 0 && index < GyreWindowCount() ? &kWindows[index] : nullptr;
}
