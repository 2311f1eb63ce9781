#include "app/resources/ToolBarImages.h"

// Each image is 16 x 15 pixels. "." is transparent, so that the button face shows through
// whatever the desktop's colours are.

// Pixel rows are kept one to a line, as drawn, whatever their length.
// clang-format off

// A blank page.
const char* const kNewImage[] = {
    "16 15 3 1",
    "# c #000000",
    ". c None",
    "w c #FFFFFF",
    "................",
    "...#######......",
    "...#wwwww##.....",
    "...#wwwww#w#....",
    "...#wwwww####...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...#wwwwwwww#...",
    "...##########...",
    "................",
};

// An open folder.
const char* const kOpenImage[] = {
    "16 15 4 1",
    "# c #000000",
    ". c None",
    "o c #C08000",
    "y c #FFFF00",
    "................",
    "................",
    ".####...........",
    "#yyyy#..........",
    "#yyyyy#######...",
    "#yyyyyyyyyyy#...",
    "#yyy###########.",
    "#yy#ooooooooooo#",
    "#yy#oooooooooo#.",
    "#y#oooooooooo#..",
    "#y#ooooooooo#...",
    "##ooooooooo#....",
    "#ooooooooo#.....",
    "###########.....",
    "................",
};

// A diskette.
const char* const kSaveImage[] = {
    "16 15 5 1",
    "# c #000000",
    ". c None",
    "b c #000080",
    "l c #C0C0C0",
    "w c #FFFFFF",
    "................",
    ".##############.",
    ".#b#wwwwwwww#b#.",
    ".#b#wwwwwwww#b#.",
    ".#b#wwwwwwww#b#.",
    ".#b#wwwwwwww#b#.",
    ".#b##########b#.",
    ".#bbbbbbbbbbbb#.",
    ".#bbb#######bb#.",
    ".#bbb#ll#ll#bb#.",
    ".#bbb#ll#ll#bb#.",
    ".#bbb#ll#ll#bb#.",
    ".##############.",
    "................",
    "................",
};

// Scissors.
const char* const kCutImage[] = {
    "16 15 2 1",
    "# c #000000",
    ". c None",
    "................",
    "....#.....#.....",
    "....#.....#.....",
    "....#.....#.....",
    ".....#...#......",
    ".....#...#......",
    "......#.#.......",
    ".......#........",
    "......#.#.......",
    "...###...###....",
    "..#...#.#...#...",
    "..#...#.#...#...",
    "..#...#.#...#...",
    "...###...###....",
    "................",
};

// Two pages.
const char* const kCopyImage[] = {
    "16 15 3 1",
    "# c #000000",
    ". c None",
    "w c #FFFFFF",
    "................",
    "######..........",
    "#wwww##.........",
    "#wwww#w#........",
    "#wwww###........",
    "#wwwww######....",
    "#wwwww#wwww##...",
    "#wwwww#wwww#w#..",
    "#wwwww#wwww####.",
    "#wwwww#wwwwwww#.",
    "#######wwwwwww#.",
    "......#wwwwwww#.",
    "......#wwwwwww#.",
    "......#wwwwwww#.",
    "......#########.",
};

// A clipboard with a page.
const char* const kPasteImage[] = {
    "16 15 5 1",
    "# c #000000",
    ". c None",
    "l c #C0C0C0",
    "r c #804000",
    "w c #FFFFFF",
    "....######......",
    ".###llllll###...",
    ".#rr######rr#...",
    ".#rrrrrrrrrr#...",
    ".#rrrrrrrrrr#...",
    ".#rrrrr#########",
    ".#rrrrr#wwwwwww#",
    ".#rrrrr#w#####w#",
    ".#rrrrr#wwwwwww#",
    ".#rrrrr#w#####w#",
    ".#rrrrr#wwwwwww#",
    ".#rrrrr#w####ww#",
    ".#rrrrr#wwwwwww#",
    ".#######wwwwwww#",
    ".......#########",
};

// A printer.
const char* const kPrintImage[] = {
    "16 15 6 1",
    "# c #000000",
    ". c None",
    "g c #808080",
    "l c #C0C0C0",
    "w c #FFFFFF",
    "y c #FFFF00",
    "................",
    "....#########...",
    "....#wwwwwww#...",
    "....#w#####w#...",
    "....#wwwwwww#...",
    ".##############.",
    ".#llllllllllll#.",
    ".#llllllllllyy#.",
    ".#llllllllllll#.",
    ".##############.",
    ".#gg#wwwwww#gg#.",
    ".####wwwwww####.",
    "....#wwwwww#....",
    "....########....",
    "................",
};

// A question mark.
const char* const kAboutImage[] = {
    "16 15 2 1",
    "# c #000000",
    ". c None",
    "................",
    ".....#####......",
    "....##...##.....",
    "...##.....##....",
    "...##.....##....",
    "..........##....",
    ".........##.....",
    "........##......",
    ".......##.......",
    ".......##.......",
    "................",
    ".......##.......",
    ".......##.......",
    "................",
    "................",
};

// An arrow pointing up and to the left.
const char* const kSelectImage[] = {
    "16 15 2 1",
    "# c #000000",
    ". c None",
    "................",
    "...#............",
    "...##...........",
    "...###..........",
    "...####.........",
    "...#####........",
    "...######.......",
    "...#######......",
    "...########.....",
    "...#########....",
    "...#####........",
    "...##.###.......",
    "...#...###......",
    ".......###......",
    "........#.......",
};

// A freehand curved stroke.
const char* const kDrawImage[] = {
    "16 15 2 1",
    "# c #000000",
    ". c None",
    "................",
    "................",
    "................",
    "................",
    "...####.........",
    "..######........",
    "..##..###....##.",
    ".###...##....##.",
    ".##....###..###.",
    ".##.....##..##..",
    "........######..",
    ".........####...",
    "..........##....",
    "................",
    "................",
};
// clang-format on
