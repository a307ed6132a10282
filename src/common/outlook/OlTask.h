// OlTaskUtil: the accessor of Outlook's default Tasks folder. It reads every
// task into a TaskImage and a TaskRecord kept in its CommTaskMgr, and writes a
// changed TaskImage back.
#pragma once

#include "common/outlook/OlComm.h"
#include "common/records/CommTaskMgr.h"

class OlTaskUtil : public OlBaseUtil {
 public:
  explicit OlTaskUtil(const char* szProfile = nullptr);
  ~OlTaskUtil() override;

  bool ReadItems() override;
  void ClearItems() override;
  void Initialize() override;
  void Terminate() override;
  bool Connect() override;
  void Disconnect() override;

  CommTaskMgr* GetContainer() const { return m_pContainer; }
  // Finds the task by the image's EntryID and StoreID, puts the fields the
  // image marks as changed and saves it. False, logged, when a step fails.
  bool SaveItem(const TaskImage* pImage);
  // Marks in *pSaved the fields marked changed that SaveItem would put.
  void GetSavedFields(const TaskImage* pImage, FieldMarks* pSaved) const;

  bool ReadFolder(IDispatch* pFolder, bool bSubfolders);
  bool ReadTask(IDispatch* pItem, TaskImage* pImage);
  bool WriteTask(IDispatch* pItem, const TaskImage* pImage);

 private:
  CDispCmd* m_pFolder;
  CommTaskMgr* m_pContainer;
};
