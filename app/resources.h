#ifndef VIREO_RESOURCES_H
#define VIREO_RESOURCES_H

namespace vireo {

// True once the icon and catalogue bundles are registered. They register
// themselves before main; calling this keeps them linked into every program
// that uses the application library.
bool resourcesRegistered();

} // namespace vireo

#endif
