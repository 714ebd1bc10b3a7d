#ifndef VIREO_STARTUP_H
#define VIREO_STARTUP_H

namespace vireo {

// The identity and defaults the settings file's location is derived from:
// INI as the default format, the image plug-in path, the names. Call right
// after the application object exists.
void setApplicationIdentity();

} // namespace vireo

#endif
