/*
 * Saves the user configuration through the C interface alone, as another program does, from a
 * process of its own. Usage:
 *   configuration_saver saves MARKER COUNT   COUNT times: name the first profile "MARKER i" and save
 *   configuration_saver refused PATH         a save of a file larger than a load reads must fail with
 *                                            an error text and leave the file at PATH as it was; a
 *                                            save on another thread then succeeds, and the failure
 *                                            stays this thread's outcome
 *   configuration_saver terminated NAME      after libhbd_terminate, name the first profile NAME and
 *                                            save: the save must succeed
 * The configuration is the one the configuration monitor loads first. Exits 0 when everything held,
 * else 1 with what went wrong on standard error.
 */

/* the pthread functions */
#define _POSIX_C_SOURCE 200809L

#include <libhbd.h>

#include <pthread.h>
#include <stdbool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The largest file a load reads, in bytes. */
#define LOAD_LIMIT ((size_t)33554432)

static void keep_first(void* handle, void* context) {
  void** kept = (void**)context;
  if (*kept == NULL) {
    *kept = handle;
  } else {
    libhbd_core_configuration_terminate(&handle);
  }
}

static void* load(void) {
  void* handle = NULL;
  libhbd_enable_configuration_monitor(keep_first, &handle);
  libhbd_disable_configuration_monitor();
  return handle;
}

/* True when the save worked; otherwise says why on standard error. */
static bool save(void* handle, const char* what) {
  libhbd_core_configuration_save(handle);
  const char* error = libhbd_core_configuration_get_save_error_message();
  if (error[0] != '\0') {
    fprintf(stderr, "configuration_saver: %s: %s\n", what, error);
    return false;
  }
  return true;
}

static bool saves(void* handle, const char* marker, long count) {
  for (long i = 0; i < count; ++i) {
    char name[256];
    snprintf(name, sizeof(name), "%s %ld", marker, i);
    libhbd_core_configuration_set_profile_name(handle, 0, name);
    if (!save(handle, name)) {
      return false;
    }
  }
  return true;
}

/* The file's bytes (NUL-terminated), or NULL. */
static char* read_whole(const char* path) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) {
    return NULL;
  }
  char* bytes = NULL;
  long size = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
  if (size >= 0 && fseek(file, 0, SEEK_SET) == 0 && (bytes = malloc((size_t)size + 1)) != NULL) {
    if (fread(bytes, 1, (size_t)size, file) == (size_t)size) {
      bytes[size] = '\0';
    } else {
      free(bytes);
      bytes = NULL;
    }
  }
  fclose(file);
  return bytes;
}

static void* save_on_another_thread(void* handle) {
  libhbd_core_configuration_set_profile_name(handle, 0, "saved on another thread");
  return save(handle, "the other thread's save") ? handle : NULL;
}

static bool refused(void* handle, const char* path) {
  char* before = read_whole(path);
  char* name = malloc(LOAD_LIMIT + 1);
  if (before == NULL || name == NULL) {
    fprintf(stderr, "configuration_saver: cannot read %s\n", path);
    free(before);
    free(name);
    return false;
  }
  memset(name, 'x', LOAD_LIMIT);
  name[LOAD_LIMIT] = '\0';
  libhbd_core_configuration_set_profile_name(handle, 0, name);
  free(name);

  bool ok = true;
  libhbd_core_configuration_save(handle);
  char error[1024];
  snprintf(error, sizeof(error), "%s", libhbd_core_configuration_get_save_error_message());
  if (strstr(error, "error: ") != error || strstr(error, "larger than 33554432 bytes") == NULL) {
    fprintf(stderr, "configuration_saver: the oversized save gave \"%s\"\n", error);
    ok = false;
  }
  char* after = read_whole(path);
  if (after == NULL || strcmp(before, after) != 0) {
    fprintf(stderr, "configuration_saver: the refused save changed %s\n", path);
    ok = false;
  }
  free(before);
  free(after);

  pthread_t thread;
  void* result = NULL;
  if (pthread_create(&thread, NULL, save_on_another_thread, handle) != 0 || pthread_join(thread, &result) != 0 ||
      result == NULL) {
    ok = false;
  }
  if (strcmp(libhbd_core_configuration_get_save_error_message(), error) != 0) {
    fprintf(stderr, "configuration_saver: after the other thread's save this thread reads \"%s\"\n",
            libhbd_core_configuration_get_save_error_message());
    ok = false;
  }
  return ok;
}

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "";
  const bool known = (strcmp(mode, "saves") == 0 && argc == 4) ||
                     ((strcmp(mode, "refused") == 0 || strcmp(mode, "terminated") == 0) && argc == 3);
  if (!known) {
    fprintf(stderr, "usage: configuration_saver saves MARKER COUNT | refused PATH | terminated NAME\n");
    return 1;
  }
  libhbd_set_logging_level_off();
  libhbd_initialize();
  void* handle = load();
  if (handle == NULL) {
    fprintf(stderr, "configuration_saver: no configuration\n");
    return 1;
  }

  bool ok = false;
  if (strcmp(mode, "saves") == 0) {
    ok = saves(handle, argv[2], strtol(argv[3], NULL, 10));
  } else if (strcmp(mode, "refused") == 0) {
    ok = refused(handle, argv[2]);
  } else {
    libhbd_terminate();
    libhbd_core_configuration_set_profile_name(handle, 0, argv[2]);
    ok = save(handle, "the save after libhbd_terminate");
  }

  libhbd_core_configuration_terminate(&handle);
  libhbd_terminate();
  return ok ? 0 : 1;
}
