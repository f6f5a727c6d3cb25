target_sources(velmora_navigation PRIVATE cTree.cpp cTree.h RemoveWorkshopByItem.cpp RemoveWorkshopByItem.h)
