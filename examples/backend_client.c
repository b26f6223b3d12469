/*
 * The C interface's main road, as an application hosting the backend takes it: start the library,
 * watch the backend's state files, take the first configuration and save it, then stop everything.
 *
 * Callbacks run on the library's dispatcher thread, so what they report is handed to main() under a
 * mutex. Exits with 0 when every step worked.
 */

/* clock_gettime and the pthread functions */
#define _POSIX_C_SOURCE 200809L

#include <libhbd.h>

#include <pthread.h>
#include <stdbool.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

struct state_file {
  const char* name;
  char path[4096];
  bool reported;
};

struct report {
  pthread_mutex_t mutex;
  pthread_cond_t changed;
  struct state_file observer;
  struct state_file grabber;
  int configurations;
  char save_error[1024];
};

static struct report report = {
    .mutex = PTHREAD_MUTEX_INITIALIZER,
    .changed = PTHREAD_COND_INITIALIZER,
    .observer = {.name = "observer state"},
    .grabber = {.name = "grabber state"},
};

/* Once when the monitor starts (also for a file that does not exist yet), then on every change. */
static void state_file_changed(const char* file_path, void* context) {
  struct state_file* file = context;
  pthread_mutex_lock(&report.mutex);
  /* The path is valid during the call only. */
  snprintf(file->path, sizeof file->path, "%s", file_path);
  file->reported = true;
  pthread_cond_broadcast(&report.changed);
  pthread_mutex_unlock(&report.mutex);
}

/* The receiver owns the handle: save the configuration, stop the monitor (the configuration is used
 * once, and no callback follows the disable), then release the handle. */
static void configuration_changed(void* core_configuration_handle, void* context) {
  (void)context;
  libhbd_core_configuration_save(core_configuration_handle);
  const char* error = libhbd_core_configuration_get_save_error_message();
  libhbd_disable_configuration_monitor();
  libhbd_core_configuration_terminate(&core_configuration_handle);

  pthread_mutex_lock(&report.mutex);
  ++report.configurations;
  snprintf(report.save_error, sizeof report.save_error, "%s", error);
  pthread_mutex_unlock(&report.mutex);
}

/* False when the monitors have not both reported within ten seconds. */
static bool wait_for_state_files(void) {
  struct timespec deadline;
  clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_sec += 10;

  pthread_mutex_lock(&report.mutex);
  int result = 0;
  while (!(report.observer.reported && report.grabber.reported) && result == 0) {
    result = pthread_cond_timedwait(&report.changed, &report.mutex, &deadline);
  }
  const bool reported = report.observer.reported && report.grabber.reported;
  pthread_mutex_unlock(&report.mutex);
  return reported;
}

int main(void) {
  libhbd_initialize();
  printf("configuration directory: %s\n", libhbd_get_user_configuration_directory());

  libhbd_enable_observer_state_json_file_monitor(state_file_changed, &report.observer);
  libhbd_enable_grabber_state_json_file_monitor(state_file_changed, &report.grabber);
  /* Returns once the callback has handled the first configuration. */
  libhbd_enable_configuration_monitor(configuration_changed, NULL);
  const bool state_files_reported = wait_for_state_files();

  libhbd_disable_grabber_state_json_file_monitor();
  libhbd_disable_observer_state_json_file_monitor();
  /* No callback runs once this returns, so the report can be read without the lock. */
  libhbd_terminate();

  const struct state_file* files[] = {&report.observer, &report.grabber};
  for (size_t i = 0; i < sizeof files / sizeof files[0]; ++i) {
    printf("%s file: %s\n", files[i]->name, files[i]->reported ? files[i]->path : "(no report)");
  }
  printf("configurations received: %d\n", report.configurations);
  printf("save: %s\n", report.save_error[0] == '\0' ? "ok" : report.save_error);

  return state_files_reported && report.configurations == 1 && report.save_error[0] == '\0' ? 0 : 1;
}
