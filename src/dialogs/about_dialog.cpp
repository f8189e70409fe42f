#include "dialogs/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/module_version.h"
#include "platform/shared_library.h"

namespace {
constexpr const char* kAnalysisLibrary = "QORSYS32.dll";
}  // namespace

std::string CAboutDialog::LocateAnalysisLibrary() {
  ecg::platform::SharedLibrary library;
  if (!library.Load(kAnalysisLibrary)) return {};
  return library.path();
}

std::string CAboutDialog::FileVersionOf(const std::string& module_path) {
  std::string version;
  if (module_path.empty() ||
      !ecg::platform::QueryModuleVersion(module_path, "FileVersion", version)) {
    return {};
  }
  return version;
}

CAboutDialog::CAboutDialog(const std::string& component_module_path, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("About Tidemark32"));
  setModal(true);

  auto* icon = new QLabel;
  const QIcon app_icon = QApplication::windowIcon().isNull()
                             ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
                             : QApplication::windowIcon();
  icon->setPixmap(app_icon.pixmap(32, 32));

  auto read_only_field = [](const std::string& text) {
    auto* field = new QLineEdit(QString::fromStdString(text));
    field->setReadOnly(true);
    field->setFrame(false);
    field->setMinimumWidth(160);
    return field;
  };
  m_softwareVersion = read_only_field(FileVersionOf(component_module_path));
  m_algorithmVersion = read_only_field(FileVersionOf(LocateAnalysisLibrary()));

  auto* notice = new QLabel(tr("Copyright (C) Tidemark ECG. All rights reserved."));

  auto* grid = new QGridLayout;
  grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(new QLabel(tr("Software Version:")), 0, 1);
  grid->addWidget(m_softwareVersion, 0, 2);
  grid->addWidget(notice, 1, 1, 1, 2);
  grid->addWidget(new QLabel(tr("ECG Algorithm Version: ")), 2, 1);
  grid->addWidget(m_algorithmVersion, 2, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  m_ok->setText(tr("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDialog::accept);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addWidget(buttons);
}
