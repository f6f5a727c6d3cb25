target_sources(velmora_navigation PRIVATE
    CDirDialog.cpp CDirDialog.h
    FolderNameRules.cpp FolderNameRules.h
    LockRefusal.cpp LockRefusal.h
    WorkshopRegistration.cpp WorkshopRegistration.h
    cClientsDlg.cpp cClientsDlg.h
    cCreateClientDlg.cpp cCreateClientDlg.h
    cNewCarDlg.cpp cNewCarDlg.h
    NodeDeletion.cpp NodeDeletion.h
    ReportedFileOps.cpp ReportedFileOps.h
)
