#include "dialogs/lead_order_dialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Each row carries its display index, so dragging keeps label and index together.
constexpr int kIndexRole = Qt::UserRole;
}  // namespace

CLeadOrderDialog::CLeadOrderDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Edit Lead Order"));

  auto* text = new QLabel(tr("Select the lead and then use the arrows to move the lead up or down."));
  text->setWordWrap(true);

  m_list = new QListWidget;
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setDragDropMode(QAbstractItemView::InternalMove);
  m_list->setDefaultDropAction(Qt::MoveAction);
  m_list->setAccessibleName(tr("Leads"));

  m_up = new QPushButton(tr("UP"));
  m_down = new QPushButton(tr("DOWN"));
  m_restore = new QPushButton(tr("Restore Defaults"));
  m_ok = new QPushButton(tr("OK"));
  m_cancel = new QPushButton(tr("Cancel"));
  m_ok->setDefault(true);
  connect(m_up, &QPushButton::clicked, this, &CLeadOrderDialog::MoveUp);
  connect(m_down, &QPushButton::clicked, this, &CLeadOrderDialog::MoveDown);
  connect(m_restore, &QPushButton::clicked, this, &CLeadOrderDialog::RestoreDefaults);
  connect(m_ok, &QPushButton::clicked, this, &CLeadOrderDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &CLeadOrderDialog::reject);

  auto* leads_label = new QLabel(tr("Leads"));
  leads_label->setBuddy(m_list);
  auto* list_column = new QVBoxLayout;
  list_column->addWidget(leads_label);
  list_column->addWidget(m_list);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(m_up);
  buttons->addWidget(m_down);
  buttons->addSpacing(12);
  buttons->addWidget(m_restore);
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  auto* row = new QHBoxLayout;
  row->addLayout(list_column, 1);
  row->addLayout(buttons);
  auto* top = new QVBoxLayout(this);
  top->addWidget(text);
  top->addLayout(row);

  SetLeadOrder(DefaultLeadOrder());
}

CLeadOrderDialog::LeadList CLeadOrderDialog::DefaultLeadOrder() {
  LeadList order{};
  for (int i = 0; i < CLeadTables::kLeadCount; ++i) order[static_cast<size_t>(i)] = static_cast<int16_t>(i);
  return order;
}

bool CLeadOrderDialog::IsPermutation(const LeadList& order) {
  std::array<bool, CLeadTables::kLeadCount> seen{};
  for (int16_t index : order) {
    if (index < 0 || index >= CLeadTables::kLeadCount || seen[static_cast<size_t>(index)]) return false;
    seen[static_cast<size_t>(index)] = true;
  }
  return true;
}

void CLeadOrderDialog::SetLeadOrder(const LeadList& order) {
  const LeadList shown = IsPermutation(order) ? order : DefaultLeadOrder();
  m_list->clear();
  for (int16_t index : shown) {
    auto* item = new QListWidgetItem(QString::fromLatin1(CLeadTables::LabelAtPosition(index)));
    item->setData(kIndexRole, static_cast<int>(index));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
    m_list->addItem(item);
  }
  m_list->setCurrentRow(0);
}

CLeadOrderDialog::LeadList CLeadOrderDialog::LeadOrder() const {
  LeadList order{};
  for (int row = 0; row < m_list->count() && row < CLeadTables::kLeadCount; ++row) {
    order[static_cast<size_t>(row)] = static_cast<int16_t>(m_list->item(row)->data(kIndexRole).toInt());
  }
  // A drag dropped somewhere unexpected must never hand out a broken order.
  return IsPermutation(order) ? order : DefaultLeadOrder();
}

void CLeadOrderDialog::SetEmbedded(bool embedded) {
  m_embedded = embedded;
  m_ok->setVisible(!embedded);
  m_cancel->setVisible(!embedded);
  if (embedded) setWindowFlags(Qt::Widget);
}

void CLeadOrderDialog::keyPressEvent(QKeyEvent* event) {
  if (m_embedded) {
    QWidget::keyPressEvent(event);  // ignored here, handled by the sheet
    return;
  }
  QDialog::keyPressEvent(event);
}

void CLeadOrderDialog::MoveUp() { Move(-1); }
void CLeadOrderDialog::MoveDown() { Move(1); }

void CLeadOrderDialog::Move(int step) {
  const int row = m_list->currentRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= m_list->count()) {
    QApplication::beep();
    emit cannotMove();
    return;
  }
  QListWidgetItem* item = m_list->takeItem(row);
  m_list->insertItem(target, item);
  m_list->setCurrentRow(target);
}

void CLeadOrderDialog::RestoreDefaults() { SetLeadOrder(DefaultLeadOrder()); }
