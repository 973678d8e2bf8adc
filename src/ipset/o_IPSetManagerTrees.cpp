#include "ipset/o_IPSetManager.h"

#include "data/DataSet.h"

// The trees are filled by the code that arrives with them; until then a manager with no tree
// assigned, or with one, leaves it as it is.

void TgtIPSetManager::FillIPSetTree() {
    if (FIPSetTreeView == nullptr)
        return;
}

void TgtIPSetManager::FillAdapterTree() {
    if (FAdapterTreeView == nullptr)
        return;
}

std::string TgtIPSetManager::GetConnectionName(int ConnectionID) {
    if (!FConnectionsDataSet->Locate("ID", ConnectionID))
        return std::string();
    return FConnectionsDataSet->FieldByName("CONNECTIONNAME").AsString();
}

void TgtIPSetManager::SetNodeBold(TTreeView* Tree, HTreeNode Node, bool Bold) {
    if (Tree == nullptr || Node == 0)
        return;
    Tree->SetBold(Node, Bold);
}
