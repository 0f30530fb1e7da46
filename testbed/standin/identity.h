#pragma once
// What clients of the stand-in see of it: the identifier it registers, the class it registers its
// application object under, the objects' names, and the errors its members raise.
#include <windows.h>

namespace standin {

inline constexpr wchar_t kProgId[] = L"Brevanto.Application";
inline constexpr wchar_t kClsidText[] = L"{C45641D4-EBAE-401E-929C-DC737EFE537C}";
inline constexpr CLSID kClsid = {0xc45641d4, 0xebae, 0x401e, {0x92, 0x9c, 0xdc, 0x73, 0x7e, 0xfe, 0x53, 0x7c}};

// The main window's class, by which tools find the stand-in's window (to close it, say).
inline constexpr wchar_t kWindowClass[] = L"BrevantoStandInWindow";

// Error codes that the stand-in's members raise as automation exceptions (DISP_E_EXCEPTION, the
// code in EXCEPINFO::scode, a description that names the member).
inline constexpr HRESULT kInjectedFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);
inline constexpr HRESULT kUnknownField = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0202);
inline constexpr HRESULT kNoDocument = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0203);

// The nine line item fields a document holds, in the order its list shows them.
inline constexpr const wchar_t* kFieldNames[] = {L"VendorPartNumber", L"Manufacturer", L"ManufacturerPartNumber",
                                                 L"Description",      L"UnitPrice",    L"UnitCost",
                                                 L"QtyBase",          L"TaxCode",      L"Vendor"};

}  // namespace standin
