// OlTaskUtil: the accessor of Outlook's default Tasks folder. It reads every
// task into a TaskImage and a TaskRecord kept in its CommTaskMgr, and writes a
// changed TaskImage back.
#pragma once

#include "common/outlook/OlFolderUtil.h"
#include "common/records/CommTaskMgr.h"

class OlTaskUtil : public OlFolderUtil<TaskImage, CommTaskMgr> {
 public:
  explicit OlTaskUtil(const char* szProfile = nullptr);

  // Finds the task by the image's EntryID and StoreID, puts the fields the
  // image marks as changed and saves it. False, logged, when a step fails.
  bool SaveItem(const TaskImage* pImage);
  // Marks in *pSaved the fields marked changed that SaveItem would put.
  void GetSavedFields(const TaskImage* pImage, FieldMarks* pSaved) const;

  bool ReadTask(IDispatch* pItem, TaskImage* pImage);
  bool WriteTask(IDispatch* pItem, const TaskImage* pImage);

 private:
  bool ReadOne(IDispatch* pItem, TaskImage* pImage) override { return ReadTask(pItem, pImage); }
};
