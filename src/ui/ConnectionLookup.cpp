#include "ui/ConnectionLookup.h"

#include <string>
#include <vector>

void FillConnectionList(TComboBox& List, TDataSet& Connections) {
    std::vector<std::string> Names;
    std::vector<int> Ids;
    for (Connections.First(); !Connections.Eof(); Connections.Next()) {
        Names.push_back(Connections.FieldByName("connectionname").AsString());
        Ids.push_back(Connections.FieldByName("ID").AsInteger());
    }
    List.SetItems(Names);
    for (std::size_t I = 0; I < Ids.size(); ++I)
        List.SetItemData(static_cast<int>(I), Ids[I]);
}

void ShowRowConnection(TComboBox& List, TDataSet& IPSets) {
    const int Id = IPSets.FieldByName("connection").AsInteger();
    int Found = -1;
    for (int I = 0; Found < 0 && I < List.Count(); ++I)
        if (Id != 0 && List.ItemData(I) == Id)
            Found = I;
    List.SetItemIndex(Found);
}

void WriteChosenConnection(const TComboBox& List, TDataSet& IPSets) {
    const TDataSetState State = IPSets.State();
    if (State != TDataSetState::dsInsert && State != TDataSetState::dsEdit)
        return;
    const int Index = List.ItemIndex();
    IPSets.FieldByName("connection").SetAsInteger(Index < 0 ? 0 : List.ItemData(Index));
}
