#pragma once

#include "worker/TField.h"

#include <QString>
#include <QStringList>

#include <vector>

// What a field is, in one row per field: the control's object name, its tab,
// its kind, how the change tracking compares it with the device's value,
// which characters its entry takes, and what clearing its tab puts into it.
// Whatever is done for every field of a tab is a loop over this table.

enum class TFieldKind { Edit, Label, DropDown, CheckBox, Group, ProgressBar, Memo, Tab, Button, Timer };

// How an edit is told apart from the device's value. A field of a device
// variable's group is compared only while its group is shown.
enum class TTracking {
    None,
    Text,           // the text
    Number,         // the number shown; empty and "-" count as 0
    ItemIndex,      // the selected item
    Checked,
    EnableFlag,     // checked, compared only where the firmware lets it be changed
    Passcode        // any text at all is an edit
};

// The characters the user may type into an edit.
enum class TEntry {
    Any,
    PackedAscii,    // blank to underscore without the apostrophe; letters become upper case
    Latin,          // printable 8-bit Windows characters
    IntPositiv,     // digits
    Float           // "-", digits and the decimal separator
};

// What a field shows once its tab has been cleared for a new read.
enum class TCleared {
    Kept,
    Empty,
    Zero,               // "0"
    FirstItem,
    Millimeters,        // the fifth unit of a length
    NoItems,            // the choices are read from the device
    Unchecked,
    DisabledChecked,
    DisabledUnchecked,
    HalfProgress,       // 50 %
    Shown,
    EmptyShown          // emptied, and shown again (the row every family has)
};

struct TFieldSpec
{
    TField Id;
    const char* Name;
    TPage Page;
    TFieldKind Kind;
    TTracking Tracking;
    TField Group;       // the group whose visibility decides whether it counts
    TEntry Entry;
    TCleared Cleared;
};

const TFieldSpec& FieldSpec(TField field);
QString FieldName(TField field);
// The fields of a tab, in table order.
std::vector<TField> FieldsOf(TPage page);
// Every field, in table order.
std::vector<TField> AllFields();
// The fixed choices of a drop-down; none for those the device fills.
QStringList FieldChoices(TField field);

// The fields of device variable 0-3; None where the variable has no such field.
struct TDeviceVariableFields
{
    TField Group;
    TField Value;
    TField Unit;
    TField OffsetCaption;
    TField Offset;
    TField OffsetUnit;
    TField Damping;
    TField Enable;
    TField DiagnosticsCaption;
    TField DiagnosticsValue;
    TField DiagnosticsUnit;
};

const TDeviceVariableFields& DeviceVariableFields(int deviceVariable);

// The dynamic variables' mapping: PV, SV, TV, QV.
inline constexpr TField MappingFields[4] = { TField::ComboBoxDynDevPV, TField::ComboBoxDynDevSV, TField::ComboBoxDynDevTV,
                                             TField::ComboBoxDynDevQV };
