// Wizard page 2: the list of field update definitions of the run, built with
// the definition editor.
#pragma once

#include <QString>

#include "app/Page.h"
#include "update/Qmcommon.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TfmUpdateField : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmUpdateField(QWidget* pParent = nullptr);
  // false: show one row per definition of g_pFieldList, the first selected.
  // true: false (after telling the user) while the list is empty.
  bool UpdateData(bool bSave) override;

  // Sets a row's texts and data from a definition; a field the current mode's
  // catalogue does not know leaves the row empty.
  void DescribeDefinition(QTreeWidgetItem* pRow, FieldUpdateDef* pDef);
  // The "Update Details" text of a definition of the given field.
  static QString UpdateDetailsText(const FieldDescriptor& field, const FieldUpdateDef& def);
  // The definition a row stands for; none for a row without one.
  static FieldUpdateDef* RowDefinition(const QTreeWidgetItem* pRow);

  QTreeWidget* lvFields;
  QPushButton* btnAdd;
  QPushButton* btnDel;
  QPushButton* btnProp;
  QLabel* Label1;
  QPushButton* btnLoad;
  QPushButton* btnSave;

 private:
  // The first selected row in list order, which is not always the one the
  // user selected first.
  QTreeWidgetItem* FirstSelectedRow() const;
  // Runs the editor modally on pDef; true when it closed with OK.
  bool RunEditor(FieldUpdateDef* pDef, const QString& strTitle);

  void btnAddClick();
  void btnDelClick();
  void btnPropClick();
  void btnLoadClick();
  void btnSaveClick();
  void lvFieldsChange();
  // Where the profile dialogs start: the last profile, else the kind's file
  // in the "profiles" folder of the data folder.
  QString ProfileStart() const;
};
