// Builds without the Qt front end have no paint code to draw with.
#include "tools/replay/png_picture.h"

namespace corvane {

std::string WritePicture(const TReplayOptions&, std::string_view) {
  return "--png needs the build with the Qt front end";
}

}  // namespace corvane
