#pragma once
/* The component's C interface, for hosts that cannot call C++ (the .NET
   class ECG.CMECGInterface calls it through P/Invoke). One opaque handle per
   facade instance, one function per facade operation; strings are UTF-8 and
   zero-terminated; results are those of the facade operation of the same
   name. Exported from libECG.so. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ecg_interface ecg_interface;

/* The facade's patient data block. */
typedef struct ecg_patient_block {
  char first_name[256];
  char last_name[256];
  char patient_id[256];
  double height; /* centimetres */
  double weight; /* kilograms */
  int32_t gender;
  int32_t year_of_birth;
  int32_t month_of_birth;
  int32_t day_of_birth;
} ecg_patient_block;

/* Year, month, day of week, day, hour, minute, second, milliseconds. */
typedef struct ecg_system_time {
  uint16_t fields[8];
} ecg_system_time;

ecg_interface* ecg_if_create(void);
/* A handle over the facade that another component library's
   CreateECGInterface makes (the previous generation's); null when the
   library or its factory is missing. */
ecg_interface* ecg_if_create_from_library(const char* library_path);
void ecg_if_destroy(ecg_interface* handle);
int32_t ecg_if_initialize(void);

void ecg_if_set_patient(ecg_interface* handle, const ecg_patient_block* block);
void ecg_if_get_patient(ecg_interface* handle, ecg_patient_block* block);

int32_t ecg_if_review(ecg_interface* handle, const char* file, int32_t read_only, int32_t no_wait);
int32_t ecg_if_options(ecg_interface* handle);
int32_t ecg_if_read_options(ecg_interface* handle, const char* path);
int32_t ecg_if_save_options(ecg_interface* handle, const char* path);
int32_t ecg_if_test(ecg_interface* handle, const char* file);
int32_t ecg_if_patient_info_dialog(ecg_interface* handle);
int32_t ecg_if_add_report(ecg_interface* handle, const char* file);
void ecg_if_clear_reports(ecg_interface* handle);
int32_t ecg_if_print(ecg_interface* handle);
int32_t ecg_if_print_preview(ecg_interface* handle);
int32_t ecg_if_print_to_file(ecg_interface* handle, const char* path);
int32_t ecg_if_print_scp_file_to_file(ecg_interface* handle, const char* file);
int32_t ecg_if_show_print_options_dialog(ecg_interface* handle, int32_t print_setup, int32_t leads,
                                         int32_t apply);
int32_t ecg_if_read_print_options(ecg_interface* handle, const char* path);
int32_t ecg_if_save_print_options(ecg_interface* handle, const char* path);
void ecg_if_get_version(ecg_interface* handle, char* buffer, int32_t count);
int32_t ecg_if_export_to_xml(ecg_interface* handle, const char* file, const char* xml_file);
double ecg_if_get_height(ecg_interface* handle);
double ecg_if_get_weight(ecg_interface* handle);
void ecg_if_set_measurement_units(ecg_interface* handle, int32_t units);
int32_t ecg_if_get_confirmed_status(ecg_interface* handle, const char* file);
void ecg_if_get_test_time(ecg_interface* handle, const char* file, ecg_system_time* time);
void ecg_if_update_scp_patient(ecg_interface* handle, const char* file);
void ecg_if_set_report_footer(ecg_interface* handle, const char* text);
void ecg_if_set_report_application_version(ecg_interface* handle, const char* text);
void ecg_if_set_print_type(ecg_interface* handle, int32_t type);
int32_t ecg_if_analyse(ecg_interface* handle, const char* file, int32_t update_patient);
int32_t ecg_if_receive_pellux_file(ecg_interface* handle, const char* file);
int32_t ecg_if_get_number_of_review_windows(ecg_interface* handle);
void ecg_if_about_box(ecg_interface* handle);
void ecg_if_disable_open_menu(ecg_interface* handle);
void ecg_if_disable_export_to_xml_menu(ecg_interface* handle);
void ecg_if_enable_export_to_xml_menu(ecg_interface* handle);
void ecg_if_create_pdf_file_with_scp_name(ecg_interface* handle);
void ecg_if_do_not_bring_up_adobe(ecg_interface* handle);
void ecg_if_add_save_and_generate_pdf_button(ecg_interface* handle);
void ecg_if_close_after_pdf(ecg_interface* handle);
void ecg_if_disable_options_browse(ecg_interface* handle);

/* The device type of each FTDI USB serial converter attached, in list order,
   in the D2XX numbering (5 = FT232R); at most `max` are stored. Returns the
   number of devices (0 without libftdi1 or libusb). */
int32_t ecg_if_ftdi_device_types(int32_t* types, int32_t max);

/* Unattended use: message boxes are answered with their default and recorded,
   and window operations are recorded instead of shown (Review returns 1).
   For hosts without a user interface and for tests. */
void ecg_if_set_unattended(int32_t on);
/* The last Review asked for while unattended: its path into `path` (at most
   `count` bytes with the terminator), and its flags. 0 when none. */
int32_t ecg_if_last_review(char* path, int32_t count, int32_t* read_only, int32_t* no_wait);
/* Message boxes shown while unattended. */
int32_t ecg_if_messages_shown(void);

#ifdef __cplusplus
}
#endif
