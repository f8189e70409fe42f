// Tests of ECG.CMECGInterface run by mono: patient defaults and the round
// trip into the native block, Review forwarding, the version, XML export,
// the acquisition time and device detection with injected device lists.
// Prints "N passed, N failed" and exits 1 when any failed.
//
//   mono ECGTests.exe RECORD.scp EXPECTED_VERSION WORK_FOLDER

using System;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;
using ECG;

static class Tests
{
    static int passed;
    static int failed;

    static void Check(bool condition, string what)
    {
        if (condition) { passed++; return; }
        failed++;
        Console.WriteLine("FAILED: " + what);
    }

    [DllImport("ECG")] static extern void ecg_if_set_unattended(int on);
    [DllImport("ECG")] static extern int ecg_if_last_review(byte[] path, int count, out int readOnly, out int noWait);
    [DllImport("ECG")] static extern int ecg_if_messages_shown();

    static string LastReview(out int readOnly, out int noWait)
    {
        byte[] buffer = new byte[1024];
        if (ecg_if_last_review(buffer, buffer.Length, out readOnly, out noWait) == 0) return null;
        int n = Array.IndexOf(buffer, (byte)0);
        return Encoding.UTF8.GetString(buffer, 0, n < 0 ? buffer.Length : n);
    }

    static int Main(string[] args)
    {
        string record = args[0];
        string version = args[1];
        string work = args[2];
        Directory.CreateDirectory(work);
        ecg_if_set_unattended(1);

        // ---- defaults, with no device attached: the in-process component
        CMECGInterface.DeviceTypeSource = () => new int[0];
        using (var ecg = new CMECGInterface())
        {
            Check(ecg.Smart, "no device keeps Smart");
            Check(ecg.HasInterface && !ecg.UsesPreviousGeneration, "no device: in-process component");
            Check(ecg.m_firstName == "Quick" && ecg.m_lastName == "Test" && ecg.m_patientId == "-", "name defaults");
            Check(ecg.m_height == 0.0 && ecg.m_weight == 0.0, "height and weight defaults");
            Check(ecg.m_gender == 1 && ecg.m_yob == 1970 && ecg.m_mob == 1 && ecg.m_dob == 1, "gender and birth defaults");
            Check(ecg.Release() == 0, "Release returns 0");
            Check(CMECGInterface.Initialize() == 1, "Initialize returns 1");
            Check(ecg.GetTidemarkPath() == "\\Tidemark", "Tidemark path");
            Check(ecg.GetTidemarkECGPath() == "\\Tidemark\\ECG Tests", "Tidemark ECG path");
            Check(ecg.Version() == version, "version is " + version + ", got " + ecg.Version());
        }

        // ---- the patient into the native block and back
        using (var ecg = new CMECGInterface())
        {
            ecg.m_firstName = "Jürgen";
            ecg.m_lastName = "Müller-Lüdenscheidt";
            ecg.m_patientId = "P-42";
            ecg.m_height = 254.0;
            ecg.m_weight = 1.0;
            ecg.m_gender = 2;
            ecg.m_yob = 1961;
            ecg.m_mob = 7;
            ecg.m_dob = 31;
            ecg.SetPatientInfo();
            ecg.SetMeasurementUnits(tMeasurementUnits.Imperial);
            Check(Math.Abs(ecg.GetHeight() - 100.0) < 1e-9, "254 cm shows as 100 in");
            Check(Math.Abs(ecg.GetWeight() - 2.2046) < 1e-9, "1 kg shows as 2.2046 lb");
            // Clear the managed copy: the dialog (answered Cancel while
            // unattended) copies the native block back even on 0.
            ecg.m_firstName = ""; ecg.m_lastName = ""; ecg.m_patientId = "";
            ecg.m_height = 0; ecg.m_weight = 0; ecg.m_gender = 0; ecg.m_yob = 0; ecg.m_mob = 0; ecg.m_dob = 0;
            Check(ecg.PatientInfoDialog() == 0, "dialog result 0 while unattended");
            Check(ecg.m_firstName == "Jürgen" && ecg.m_lastName == "Müller-Lüdenscheidt" && ecg.m_patientId == "P-42",
                  "names come back from the native block");
            Check(ecg.m_height == 254.0 && ecg.m_weight == 1.0 && ecg.m_gender == 2, "measures come back");
            Check(ecg.m_yob == 1961 && ecg.m_mob == 7 && ecg.m_dob == 31, "birth date comes back");

            // A name longer than the block keeps 255 bytes of whole characters.
            ecg.m_lastName = new string('ä', 200);
            ecg.SetPatientInfo();
            ecg.PatientInfoDialog();
            Check(ecg.m_lastName == new string('ä', 127), "long names are cut at a character boundary");
        }

        // ---- Review(path) is Review(path, 0, 1)
        using (var ecg = new CMECGInterface())
        {
            int readOnly, noWait;
            Check(ecg.Review(record) == 1, "Review(path) opens");
            Check(LastReview(out readOnly, out noWait) == record && readOnly == 0 && noWait == 1, "Review(path) as (path, 0, 1)");
            ecg.Review(record, 1);
            Check(LastReview(out readOnly, out noWait) == record && readOnly == 1 && noWait == 1, "Review(path, 1) as (path, 1, 1)");
            ecg.Review(record, 0, 0);
            Check(LastReview(out readOnly, out noWait) == record && readOnly == 0 && noWait == 0, "Review(path, 0, 0) unchanged");
            Check(ecg.GetNumberOfReviewWindows() == 3, "review windows counted");
        }

        // ---- XML export, acquisition time, analysis refusal
        using (var ecg = new CMECGInterface())
        {
            string xml = Path.Combine(work, "record.xml");
            Check(ecg.ExportToXml(record, xml) == 1, "XML export succeeds");
            Check(File.Exists(xml) && File.ReadAllText(xml).Contains("<?xml"), "XML document written");
            Check(ecg.ExportToXml(Path.Combine(work, "none.scp"), Path.Combine(work, "none.xml")) == 0, "missing record refused");

            Check(Marshal.SizeOf(typeof(SYSTEMTIME)) == 16, "SYSTEMTIME is 16 bytes");
            var time = new SYSTEMTIME();
            SYSTEMTIME back = ecg.GetTestTime(ref time, record);
            Check(time.wYear >= 1990 && time.wMonth >= 1 && time.wMonth <= 12 && time.wMilliseconds == 0, "acquisition time read");
            Check(back.wYear == time.wYear && back.wSecond == time.wSecond, "the struct is returned filled");

            Check(ecg.Analyse(Path.Combine(work, "none.scp"), false) == 4, "unopenable record: 4");
            int before = ecg_if_messages_shown();
            Check(ecg.ReceivePelluxFile("x") == 0, "ReceivePelluxFile not available");
            Check(ecg_if_messages_shown() == before + 1, "and says so");
        }

        // ---- device detection: the last device decides
        CMECGInterface.DeviceTypeSource = () => new int[] { 5, 0 };
        using (var ecg = new CMECGInterface())
        {
            Check(ecg.Smart && ecg.HasInterface && !ecg.UsesPreviousGeneration,
                  "two devices, only the first of type 5: in-process");
        }
        CMECGInterface.DeviceTypeSource = () => new int[] { 0, 5 };
        using (var ecg = new CMECGInterface())
        {
            Check(!ecg.Smart, "last device of type 5: previous generation");
            Check(!ecg.HasInterface, "without OldGen/libECG.so the interface stays empty");
        }

        ecg_if_set_unattended(0);
        Console.WriteLine(passed + " passed, " + failed + " failed");
        return failed == 0 ? 0 : 1;
    }
}
