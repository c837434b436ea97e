#include "emulator/colour_table.h"

namespace corvane {

const TColorTable InitialColorTable = {{
    {0, 0, 0},
    {168, 0, 0},
    {0, 168, 0},
    {168, 168, 0},
    {0, 0, 168},
    {168, 0, 168},
    {0, 112, 216},
    {200, 200, 200},
    {84, 84, 84},
    {84, 84, 212},
    {84, 255, 84},
    {255, 255, 84},
    {84, 84, 255},
    {255, 84, 255},
    {84, 255, 255},
    {255, 255, 255},
}};

}  // namespace corvane
