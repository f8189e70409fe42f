// ECG.CMECGInterface: the component for .NET hosts. It owns one native
// CECGInterface (through the component's C interface in libECG.so), keeps the
// current patient in public fields that it hands to the native object before
// a recording, and decides once, at construction, whether the attached cable
// belongs to the previous generation: then it drives the previous-generation
// component in the "OldGen" folder beside this assembly instead.

using System;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;

namespace ECG
{
    public enum tMeasurementUnits { Metric = 0, Imperial = 1 }

    // The record's acquisition time: year, month, day of week, day, hour,
    // minute, second, milliseconds (16 bytes).
    [StructLayout(LayoutKind.Sequential)]
    public struct SYSTEMTIME
    {
        public ushort wYear;
        public ushort wMonth;
        public ushort wDayOfWeek;
        public ushort wDay;
        public ushort wHour;
        public ushort wMinute;
        public ushort wSecond;
        public ushort wMilliseconds;
    }

    public class CMECGInterface : IDisposable
    {
        public string m_firstName;
        public string m_lastName;
        public string m_patientId;
        public double m_height;
        public double m_weight;
        public int m_gender;
        public int m_yob;
        public int m_mob;
        public int m_dob;
        public bool Smart;

        private IntPtr hMod;          // the previous-generation component, when loaded
        private IntPtr m_pInterface;  // the native facade's handle
        private IntPtr pfnCreateECG;  // set when the previous generation's factory made it

        // The FTDI device types DetectDevice reads (D2XX numbering). Hosts
        // and tests may replace it; by default the attached converters.
        public static Func<int[]> DeviceTypeSource = NativeDeviceTypes;

        public const int PreviousGenerationDeviceType = 5;

        public CMECGInterface()
        {
            Smart = true;
            DetectDevice();
            if (!Smart)
            {
                string folder = Path.GetDirectoryName(typeof(CMECGInterface).Assembly.Location) ?? ".";
                string library = Path.Combine(Path.Combine(folder, "OldGen"), "libECG.so");
                // The native side loads the library, looks up its factory
                // "CreateECGInterface" and keeps both for the handle's life.
                hMod = File.Exists(library) ? Native.ecg_if_create_from_library(library) : IntPtr.Zero;
                pfnCreateECG = hMod;
                m_pInterface = hMod;
            }
            else
            {
                m_pInterface = Native.ecg_if_create();
            }
            m_firstName = "Quick";
            m_lastName = "Test";
            m_patientId = "-";
            m_height = 0.0;
            m_weight = 0.0;
            m_gender = 1;
            m_yob = 1970;
            m_mob = 1;
            m_dob = 1;
        }

        ~CMECGInterface()
        {
        }

        public void Dispose()
        {
            Dispose(true);
            GC.SuppressFinalize(this);
        }

        protected virtual void Dispose(bool disposing)
        {
            if (m_pInterface != IntPtr.Zero)
            {
                Native.ecg_if_destroy(m_pInterface);
                m_pInterface = IntPtr.Zero;
            }
        }

        // True when a native facade is there to call.
        public bool HasInterface { get { return m_pInterface != IntPtr.Zero; } }
        // True when the previous-generation component serves this object.
        public bool UsesPreviousGeneration { get { return pfnCreateECG != IntPtr.Zero; } }

        // Smart := false for a device of type 5, true for any other; the last
        // device listed decides; no device leaves it true.
        public void DetectDevice()
        {
            int[] types = DeviceTypeSource != null ? DeviceTypeSource() : null;
            if (types == null) return;
            foreach (int type in types)
            {
                Smart = type != PreviousGenerationDeviceType;
            }
        }

        private static int[] NativeDeviceTypes()
        {
            int[] buffer = new int[256];
            int count = Native.ecg_if_ftdi_device_types(buffer, buffer.Length);
            if (count < 0) count = 0;
            if (count > buffer.Length) count = buffer.Length;
            int[] types = new int[count];
            Array.Copy(buffer, types, count);
            return types;
        }

        public static int Initialize() { return Native.ecg_if_initialize(); }

        public int Release() { return 0; }

        public int Review(string path) { return Review(path, 0, 1); }
        public int Review(string path, int readOnly) { return Review(path, readOnly, 1); }
        public int Review(string path, int readOnly, int noWait)
        {
            return Native.ecg_if_review(m_pInterface, Utf8(path), readOnly, noWait);
        }

        public int Options() { return Native.ecg_if_options(m_pInterface); }
        public int ReadOptions(string path) { return Native.ecg_if_read_options(m_pInterface, Utf8(path)); }
        public int SaveOptions(string path) { return Native.ecg_if_save_options(m_pInterface, Utf8(path)); }

        public int Test(string path)
        {
            SetPatientInfo();
            return Native.ecg_if_test(m_pInterface, Utf8(path));
        }

        public void SetPatientInfo()
        {
            var block = new Native.PatientBlock();
            block.first_name = Field(m_firstName);
            block.last_name = Field(m_lastName);
            block.patient_id = Field(m_patientId);
            block.height = m_height;
            block.weight = m_weight;
            block.gender = m_gender;
            block.year_of_birth = m_yob;
            block.month_of_birth = m_mob;
            block.day_of_birth = m_dob;
            Native.ecg_if_set_patient(m_pInterface, ref block);
        }

        public int PatientInfoDialog()
        {
            int result = Native.ecg_if_patient_info_dialog(m_pInterface);
            var block = new Native.PatientBlock();
            Native.ecg_if_get_patient(m_pInterface, ref block);
            m_patientId = Text(block.patient_id);
            m_firstName = Text(block.first_name);
            m_lastName = Text(block.last_name);
            m_height = block.height;
            m_weight = block.weight;
            m_yob = block.year_of_birth;
            m_mob = block.month_of_birth;
            m_dob = block.day_of_birth;
            m_gender = block.gender;
            return result != 0 ? 1 : 0;
        }

        public int AddReport(string path) { return Native.ecg_if_add_report(m_pInterface, Utf8(path)); }
        public void ClearReports() { Native.ecg_if_clear_reports(m_pInterface); }
        public int Print() { return Native.ecg_if_print(m_pInterface); }
        public int PrintPreview() { return Native.ecg_if_print_preview(m_pInterface); }
        public int PrintToFile(string path) { return Native.ecg_if_print_to_file(m_pInterface, Utf8(path)); }
        public int PrintSCPFileToFile(string path)
        {
            return Native.ecg_if_print_scp_file_to_file(m_pInterface, Utf8(path));
        }
        public int ReadPrintOptions(string path) { return Native.ecg_if_read_print_options(m_pInterface, Utf8(path)); }
        public int SavePrintOptions(string path) { return Native.ecg_if_save_print_options(m_pInterface, Utf8(path)); }
        public int ShowPrintOptionsDialog() { return Native.ecg_if_show_print_options_dialog(m_pInterface, 1, 0, 1); }
        public int ShowPrintOptionDialog() { return Native.ecg_if_show_print_options_dialog(m_pInterface, 1, 0, 0); }

        public string Version()
        {
            byte[] buffer = new byte[32];
            Native.ecg_if_get_version(m_pInterface, buffer, buffer.Length);
            return Text(buffer);
        }

        public int ExportToXml(string scpFile, string xmlFile)
        {
            return Native.ecg_if_export_to_xml(m_pInterface, Utf8(scpFile), Utf8(xmlFile));
        }

        public double GetHeight() { return Native.ecg_if_get_height(m_pInterface); }
        public double GetWeight() { return Native.ecg_if_get_weight(m_pInterface); }
        public void SetMeasurementUnits(tMeasurementUnits units)
        {
            Native.ecg_if_set_measurement_units(m_pInterface, (int)units);
        }
        public int GetConfirmedStatus(string path) { return Native.ecg_if_get_confirmed_status(m_pInterface, Utf8(path)); }

        // The record's acquisition time copied into `time` (16 bytes).
        public SYSTEMTIME GetTestTime(ref SYSTEMTIME time, string path)
        {
            Native.ecg_if_get_test_time(m_pInterface, Utf8(path), ref time);
            return time;
        }

        public void UpdateScpPatient(string path) { Native.ecg_if_update_scp_patient(m_pInterface, Utf8(path)); }
        public void SetReportFooter(string text) { Native.ecg_if_set_report_footer(m_pInterface, Utf8(text)); }
        public void SetReportApplicationVersion(string text)
        {
            Native.ecg_if_set_report_application_version(m_pInterface, Utf8(text));
        }
        public void SetPrintType(int type) { Native.ecg_if_set_print_type(m_pInterface, type); }
        public int Analyse(string path, bool updatePatient)
        {
            return Native.ecg_if_analyse(m_pInterface, Utf8(path), updatePatient ? 1 : 0);
        }
        public int ReceivePelluxFile(string path) { return Native.ecg_if_receive_pellux_file(m_pInterface, Utf8(path)); }
        public int GetNumberOfReviewWindows() { return Native.ecg_if_get_number_of_review_windows(m_pInterface); }
        public void AboutBox() { Native.ecg_if_about_box(m_pInterface); }
        public void DisableOpenMenu() { Native.ecg_if_disable_open_menu(m_pInterface); }
        public void DisableExportToXMLMenu() { Native.ecg_if_disable_export_to_xml_menu(m_pInterface); }
        public void EnableExportToXMLMenu() { Native.ecg_if_enable_export_to_xml_menu(m_pInterface); }
        public void CreatePDFFileWithSCPName() { Native.ecg_if_create_pdf_file_with_scp_name(m_pInterface); }
        public void DoNotBringUpAdobe() { Native.ecg_if_do_not_bring_up_adobe(m_pInterface); }
        public void AddSaveandGeneratePDFButtonToReviewWindow() { Native.ecg_if_add_save_and_generate_pdf_button(m_pInterface); }
        public void CloseAfterPDF() { Native.ecg_if_close_after_pdf(m_pInterface); }
        public void DisableOptionsBrowse() { Native.ecg_if_disable_options_browse(m_pInterface); }

        public string GetTidemarkPath() { return "\\Tidemark"; }
        public string GetTidemarkECGPath() { return "\\Tidemark\\ECG Tests"; }

        // Zero-terminated UTF-8 (the component's narrow strings).
        private static byte[] Utf8(string text)
        {
            if (text == null) return null;
            byte[] bytes = Encoding.UTF8.GetBytes(text);
            byte[] z = new byte[bytes.Length + 1];
            Array.Copy(bytes, z, bytes.Length);
            return z;
        }

        // A 256-byte patient field: at most 255 bytes and the terminator.
        private static byte[] Field(string text)
        {
            byte[] field = new byte[256];
            if (text == null) return field;
            byte[] bytes = Encoding.UTF8.GetBytes(text);
            int n = Math.Min(bytes.Length, 255);
            while (n > 0 && n < bytes.Length && (bytes[n] & 0xC0) == 0x80) n--;  // whole characters only
            Array.Copy(bytes, field, n);
            return field;
        }

        private static string Text(byte[] field)
        {
            int n = Array.IndexOf(field, (byte)0);
            if (n < 0) n = field.Length;
            return Encoding.UTF8.GetString(field, 0, n);
        }

        internal static class Native
        {
            private const string Library = "ECG";

            [StructLayout(LayoutKind.Sequential)]
            internal struct PatientBlock
            {
                [MarshalAs(UnmanagedType.ByValArray, SizeConst = 256)] public byte[] first_name;
                [MarshalAs(UnmanagedType.ByValArray, SizeConst = 256)] public byte[] last_name;
                [MarshalAs(UnmanagedType.ByValArray, SizeConst = 256)] public byte[] patient_id;
                public double height;
                public double weight;
                public int gender;
                public int year_of_birth;
                public int month_of_birth;
                public int day_of_birth;
            }

            [DllImport(Library)] internal static extern IntPtr ecg_if_create();
            [DllImport(Library)] internal static extern IntPtr ecg_if_create_from_library(string path);
            [DllImport(Library)] internal static extern void ecg_if_destroy(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_initialize();
            [DllImport(Library)] internal static extern void ecg_if_set_patient(IntPtr h, ref PatientBlock b);
            [DllImport(Library)] internal static extern void ecg_if_get_patient(IntPtr h, ref PatientBlock b);
            [DllImport(Library)] internal static extern int ecg_if_review(IntPtr h, byte[] file, int readOnly, int noWait);
            [DllImport(Library)] internal static extern int ecg_if_options(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_read_options(IntPtr h, byte[] path);
            [DllImport(Library)] internal static extern int ecg_if_save_options(IntPtr h, byte[] path);
            [DllImport(Library)] internal static extern int ecg_if_test(IntPtr h, byte[] file);
            [DllImport(Library)] internal static extern int ecg_if_patient_info_dialog(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_add_report(IntPtr h, byte[] file);
            [DllImport(Library)] internal static extern void ecg_if_clear_reports(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_print(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_print_preview(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_print_to_file(IntPtr h, byte[] path);
            [DllImport(Library)] internal static extern int ecg_if_print_scp_file_to_file(IntPtr h, byte[] file);
            [DllImport(Library)] internal static extern int ecg_if_show_print_options_dialog(IntPtr h, int printSetup, int leads, int apply);
            [DllImport(Library)] internal static extern int ecg_if_read_print_options(IntPtr h, byte[] path);
            [DllImport(Library)] internal static extern int ecg_if_save_print_options(IntPtr h, byte[] path);
            [DllImport(Library)] internal static extern void ecg_if_get_version(IntPtr h, byte[] buffer, int count);
            [DllImport(Library)] internal static extern int ecg_if_export_to_xml(IntPtr h, byte[] file, byte[] xmlFile);
            [DllImport(Library)] internal static extern double ecg_if_get_height(IntPtr h);
            [DllImport(Library)] internal static extern double ecg_if_get_weight(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_set_measurement_units(IntPtr h, int units);
            [DllImport(Library)] internal static extern int ecg_if_get_confirmed_status(IntPtr h, byte[] file);
            [DllImport(Library)] internal static extern void ecg_if_get_test_time(IntPtr h, byte[] file, ref SYSTEMTIME time);
            [DllImport(Library)] internal static extern void ecg_if_update_scp_patient(IntPtr h, byte[] file);
            [DllImport(Library)] internal static extern void ecg_if_set_report_footer(IntPtr h, byte[] text);
            [DllImport(Library)] internal static extern void ecg_if_set_report_application_version(IntPtr h, byte[] text);
            [DllImport(Library)] internal static extern void ecg_if_set_print_type(IntPtr h, int type);
            [DllImport(Library)] internal static extern int ecg_if_analyse(IntPtr h, byte[] file, int updatePatient);
            [DllImport(Library)] internal static extern int ecg_if_receive_pellux_file(IntPtr h, byte[] file);
            [DllImport(Library)] internal static extern int ecg_if_get_number_of_review_windows(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_about_box(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_disable_open_menu(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_disable_export_to_xml_menu(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_enable_export_to_xml_menu(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_create_pdf_file_with_scp_name(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_do_not_bring_up_adobe(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_add_save_and_generate_pdf_button(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_close_after_pdf(IntPtr h);
            [DllImport(Library)] internal static extern void ecg_if_disable_options_browse(IntPtr h);
            [DllImport(Library)] internal static extern int ecg_if_ftdi_device_types(int[] types, int max);
        }
    }
}
