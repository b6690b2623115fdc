#pragma once

namespace pelmora {

// Sets the largest picture Qt's image readers may make to what a Bitmap may
// hold, once for the whole process, before any reader runs.
void limitImageReaders();

} // namespace pelmora
