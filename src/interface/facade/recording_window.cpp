#include "interface/facade/recording_window.h"

#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>

#include "recording/tm_realtime_dlg.h"

namespace ecg::facade {
namespace {

// Written beside the target and renamed over it: never a half-written picture.
bool WriteWindowPicture(QWidget& window, const QString& path) {
  const QImage image = window.grab().toImage();
  QSaveFile out(path);
  return !image.isNull() && out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit();
}

}  // namespace

int RunRecordingDialog(const RecordingSetup& setup) {
  CTM_RealTimeDlg window;
  window.SetLanguage(setup.language);
  window.SetOutputFile(setup.outputFile);
  window.LoadLanguageStrings(setup.languageFolder);
  window.SetMuscleFilter(setup.muscleFilter);
  window.SetPowerFilter(setup.powerFilter);
  window.SetMainsFrequency(setup.mainsHz);
  window.SetPlotStyle(setup.plotStyle);
  window.SetGridStyle(setup.gridStyle);
  window.SetQRSBeep(setup.qrsBeep);
  window.SetLeadsOffBeep(setup.leadsOffBeep);
  window.SetMIDISound(setup.midiSound);
  if (setup.connectionType == 1) {
    window.SetDemoFile(setup.replayFile, true);
  } else {
    window.SetPortName(setup.portName);
  }
  window.SetPatientName(setup.patientName);
  window.SetCustomLeadGroup(setup.customLeadGroup.data(), static_cast<int>(setup.customLeadGroup.size()));
  window.SetDisplayChannels(setup.displayChannels);
  window.SetRhythmStripLead(setup.rhythmStripLead);
  window.SetECGBufferSize(setup.bufferSeconds);
  window.SetCreatePDF(setup.createPdf != 0);
  window.SetGain(setup.gain);
  window.SetSpeed(setup.speed);
  window.LeadGroup(setup.leadGroup);

  QTimer unattended;
  if (setup.unattendedSeconds > 0) {
    const uint32_t frames_wanted = static_cast<uint32_t>(setup.unattendedSeconds) * 500;
    const QString picture = QString::fromStdString(setup.screenshotFile);
    QObject::connect(&unattended, &QTimer::timeout, &window, [&window, &unattended, frames_wanted, picture] {
      if (!window.SaveButton()->isEnabled() || window.RingBytes() / 13 < frames_wanted) return;
      unattended.stop();
      if (!picture.isEmpty()) WriteWindowPicture(window, picture);
      window.OnSaveBtn();
    });
    unattended.start(200);
    // A source that never delivers ends the window rather than waiting forever.
    QTimer::singleShot((setup.unattendedSeconds + setup.unattendedTimeoutSeconds) * 1000, &window,
                       [&window] { window.reject(); });
  }
  window.exec();
  return window.EndCode();
}

}  // namespace ecg::facade
