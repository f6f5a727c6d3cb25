target_sources(velmora_navigation PRIVATE cTree.cpp cTree.h TreeNodes.cpp TreeNodes.h BranchReader.cpp BranchReader.h BranchLister.cpp BranchLister.h RemoveWorkshopByItem.cpp RemoveWorkshopByItem.h)
