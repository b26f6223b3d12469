#pragma once

// The bridge between the workspace's activation notifications and the library: registered C
// functions are called, on the bridge's serial queue, with the frontmost application's bundle
// identifier and executable path ("" for what is unknown) on every activation.

extern "C" {

typedef void (*zunto_osx_frontmost_application_monitor_callback)(const char* bundle_identifier, const char* file_path,
                                                                 void* context);

// Adds the pair unless it is registered already, then reports the frontmost application, when
// there is one, to every registered pair. Returns at once.
void zunto_osx_frontmost_application_monitor_register(zunto_osx_frontmost_application_monitor_callback callback,
                                                      void* context);

// Removes the pair; a pair that is not registered changes nothing. Returns at once.
void zunto_osx_frontmost_application_monitor_unregister(zunto_osx_frontmost_application_monitor_callback callback,
                                                        void* context);
}
