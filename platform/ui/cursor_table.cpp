#include "platform/ui/cursor_table.h"

#include <QImage>
#include <QPixmap>
#include <array>
#include <map>

namespace quillet {

namespace {

// 16 x 16 pictures: '#' black, '.' white, anything else transparent.
using TCursorArt = std::array<const char*, 16>;

constexpr TCursorArt kZoomInArt = {
    "    #####       ",
    "  ##.....##     ",
    " #.........#    ",
    " #....#....#    ",
    "#.....#.....#   ",
    "#.....#.....#   ",
    "#..#######..#   ",
    "#.....#.....#   ",
    "#.....#.....#   ",
    " #....#....#    ",
    " #.........#    ",
    "  ##.....###    ",
    "    #####.###   ",
    "          .###  ",
    "           .### ",
    "            .## ",
};

constexpr TCursorArt kZoomOutArt = {
    "    #####       ",
    "  ##.....##     ",
    " #.........#    ",
    " #.........#    ",
    "#...........#   ",
    "#...........#   ",
    "#..#######..#   ",
    "#...........#   ",
    "#...........#   ",
    " #.........#    ",
    " #.........#    ",
    "  ##.....###    ",
    "    #####.###   ",
    "          .###  ",
    "           .### ",
    "            .## ",
};

// A solid arrow pointing right, its tip at (14, 7); the column cursor is the
// same picture turned to point down.
constexpr TCursorArt kSelectRowArt = {
    "                ",
    "                ",
    "         .      ",
    "         .#.    ",
    "         .##.   ",
    "..........###.  ",
    ".############.  ",
    ".#############. ",
    ".############.  ",
    "..........###.  ",
    "         .##.   ",
    "         .#.    ",
    "         .      ",
    "                ",
    "                ",
    "                ",
};

// A pencil writing at its tip, bottom left at (0, 15).
constexpr TCursorArt kPenArt = {
    "            ### ",
    "           #..##",
    "          #...##",
    "         #...## ",
    "        #...#.# ",
    "       #...#.#  ",
    "      #...#.#   ",
    "     #...#.#    ",
    "    #...#.#     ",
    "   #...#.#      ",
    "  #...#.#       ",
    " ##..#.#        ",
    " #.#..#         ",
    " #..##          ",
    "##.##           ",
    "###             ",
};

// A stamp seen from above, centred on its hot spot (7, 7).
constexpr TCursorArt kSealArt = {
    "     ######     ",
    "     #....#     ",
    "     #....#     ",
    "     #....#     ",
    "      #..#      ",
    "      #..#      ",
    "  ############  ",
    "  #..........#  ",
    "  #...#..#...#  ",
    "  #....##....#  ",
    "  #...#..#...#  ",
    "  #..........#  ",
    "  ############  ",
    "                ",
    "                ",
    "                ",
};

QImage ArtImage(const TCursorArt& art, bool transposed) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16 && art[y][x] != '\0'; ++x) {
      const char c = art[y][x];
      if (c != '#' && c != '.') continue;
      const QRgb color = c == '#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
      if (transposed)
        image.setPixel(y, x, color);
      else
        image.setPixel(x, y, color);
    }
  return image;
}

QCursor ArtCursor(const TCursorArt& art, int hotX, int hotY, bool transposed = false) {
  return QCursor(QPixmap::fromImage(ArtImage(art, transposed)), hotX, hotY);
}

std::map<TCursor, QCursor>& Table() {
  static std::map<TCursor, QCursor> table = [] {
    std::map<TCursor, QCursor> t = {
        {crDefault, QCursor(Qt::ArrowCursor)},       {crNone, QCursor(Qt::BlankCursor)},
        {crArrow, QCursor(Qt::ArrowCursor)},         {crCross, QCursor(Qt::CrossCursor)},
        {crIBeam, QCursor(Qt::IBeamCursor)},         {crSizeNESW, QCursor(Qt::SizeBDiagCursor)},
        {crSizeNS, QCursor(Qt::SizeVerCursor)},      {crSizeNWSE, QCursor(Qt::SizeFDiagCursor)},
        {crSizeWE, QCursor(Qt::SizeHorCursor)},      {crUpArrow, QCursor(Qt::UpArrowCursor)},
        {crHourGlass, QCursor(Qt::WaitCursor)},      {crDrag, QCursor(Qt::DragCopyCursor)},
        {crNoDrop, QCursor(Qt::ForbiddenCursor)},    {crHSplit, QCursor(Qt::SplitHCursor)},
        {crVSplit, QCursor(Qt::SplitVCursor)},       {crMultiDrag, QCursor(Qt::DragCopyCursor)},
        {crSQLWait, QCursor(Qt::WaitCursor)},        {crNo, QCursor(Qt::ForbiddenCursor)},
        {crAppStart, QCursor(Qt::BusyCursor)},       {crHelp, QCursor(Qt::WhatsThisCursor)},
        {crHandPoint, QCursor(Qt::PointingHandCursor)}, {crSizeAll, QCursor(Qt::SizeAllCursor)},
        {crJump, QCursor(Qt::PointingHandCursor)},
    };
    t.emplace(crDVZoomIn, ArtCursor(kZoomInArt, 6, 6));
    t.emplace(crDVZoomOut, ArtCursor(kZoomOutArt, 6, 6));
    t.emplace(crDVSelectRow, ArtCursor(kSelectRowArt, 14, 7));
    t.emplace(crDVSelectCol, ArtCursor(kSelectRowArt, 7, 14, true));
    t.emplace(crPostilPen, ArtCursor(kPenArt, 0, 15));
    t.emplace(crPostilSeal, ArtCursor(kSealArt, 7, 9));
    return t;
  }();
  return table;
}

}  // namespace

QCursor ScreenCursor(TCursor number) {
  const auto it = Table().find(number);
  return it != Table().end() ? it->second : QCursor(Qt::ArrowCursor);
}

void SetScreenCursor(TCursor number, const QCursor& cursor) { Table()[number] = cursor; }

}  // namespace quillet
