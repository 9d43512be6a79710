#include "com/tile_control.h"

#include "com/registration.h"
#include "com/server.h"
#include "com/thread_library.h"
#include "store/module.h"

namespace h5 {
namespace {

// HIMETRIC (0.01 mm) of a length in pixels at the screen's density.
LONG PixelsToHimetric(LONG pixels, float twips_per_pixel) {
  return static_cast<LONG>(pixels * twips_per_pixel * 2540.0f / 1440.0f + 0.5f);
}

template <typename Interface>
void Replace(Interface*& slot, Interface* value) {
  if (value) value->AddRef();
  if (slot) slot->Release();
  slot = value;
}

}  // namespace

HRESULT TileControl::Create(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  EnsureThreadLibrary();
  TileControl* control = new TileControl();
  HRESULT hr = control->QueryInterface(iid, out);
  control->Release();
  return hr;
}

TileControl::TileControl()
    : twips_per_pixel_(Module().ports.screen->TwipsPerPixelX()),
      tile_(ServerModule(), twips_per_pixel_),
      events_(*this) {
  HoldServer();
  frm_ = std::make_unique<FrmKakei>(tile_);
  tile_.SetClickHandler([this] { frm_->Click(); });
}

TileControl::~TileControl() {
  tile_.Destroy();
  Replace<IOleInPlaceSite>(in_place_site_, nullptr);
  Replace<IOleClientSite>(client_site_, nullptr);
  Replace<IOleAdviseHolder>(advise_holder_, nullptr);
  Replace<IAdviseSink>(view_sink_, nullptr);
  ReleaseServer();
}

// IUnknown.

HRESULT TileControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  void* found = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__frmKakei) {
    found = static_cast<_frmKakei*>(this);
  } else if (iid == IID_IOleObject) {
    found = static_cast<IOleObject*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
    found = static_cast<IOleInPlaceObject*>(this);
  } else if (iid == IID_IOleInPlaceActiveObject) {
    found = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (iid == IID_IOleControl) {
    found = static_cast<IOleControl*>(this);
  } else if (iid == IID_IViewObject || iid == IID_IViewObject2) {
    found = static_cast<IViewObject2*>(this);
  } else if (iid == IID_IPersist || iid == IID_IPersistStreamInit) {
    found = static_cast<IPersistStreamInit*>(this);
  } else if (iid == IID_IPersistPropertyBag) {
    found = static_cast<IPersistPropertyBag*>(this);
  } else if (iid == IID_IProvideClassInfo) {
    found = static_cast<IProvideClassInfo*>(this);
  } else if (iid == IID_IConnectionPointContainer) {
    found = static_cast<IConnectionPointContainer*>(this);
  } else if (iid == IID_IObjectSafety) {
    found = static_cast<IObjectSafety*>(this);
  }
  *out = found;
  wchar_t name[40] = {};
  StringFromGUID2(iid, name, 40);
  std::string call = found ? "QueryInterface " : "QueryInterface (refused) ";
  for (const wchar_t* c = name; *c; ++c) call += static_cast<char>(*c);
  TraceCall(call.c_str());
  if (!found) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TileControl::AddRef() { return ++references_; }

ULONG TileControl::Release() {
  ULONG left = --references_;
  if (left == 0) {
    // Calls back into the object while it goes must not free it twice.
    references_ = 1;
    delete this;
  }
  return left;
}

// IDispatch.

HRESULT TileControl::TypeInfoOf(REFGUID guid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ITypeLib* library = nullptr;
  HRESULT hr = LoadTypeLibEx(ServerPath().c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  hr = library->GetTypeInfoOfGuid(guid, info);
  library->Release();
  return hr;
}

HRESULT TileControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TileControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (index != 0) return DISP_E_BADINDEX;
  return TypeInfoOf(IID__frmKakei, info);
}

HRESULT TileControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ITypeInfo* info = nullptr;
  HRESULT hr = TypeInfoOf(IID__frmKakei, &info);
  if (FAILED(hr)) return hr;
  hr = DispGetIDsOfNames(info, names, count, ids);
  info->Release();
  return hr;
}

HRESULT TileControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) {
  ITypeInfo* info = nullptr;
  HRESULT hr = TypeInfoOf(IID__frmKakei, &info);
  if (FAILED(hr)) return hr;
  hr = DispInvoke(static_cast<_frmKakei*>(this), info, id, flags, params, result, exception,
                  bad_argument);
  info->Release();
  return hr;
}

// IOleObject.

HRESULT TileControl::SetClientSite(IOleClientSite* site) {
  TraceCall("IOleObject::SetClientSite");
  Replace(client_site_, site);
  return S_OK;
}

HRESULT TileControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = client_site_;
  if (client_site_) client_site_->AddRef();
  return S_OK;
}

HRESULT TileControl::SetHostNames(LPCOLESTR, LPCOLESTR) {
  TraceCall("IOleObject::SetHostNames");
  return S_OK;
}

HRESULT TileControl::Close(DWORD) {
  TraceCall("IOleObject::Close");
  InPlaceDeactivate();
  if (advise_holder_) advise_holder_->SendOnClose();
  return S_OK;
}

HRESULT TileControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT TileControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT TileControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT TileControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT TileControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                            LPCRECT position) {
  TraceCall("IOleObject::DoVerb");
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_INPLACEACTIVATE:
      return ActivateInPlace(site ? site : client_site_, parent, position);
    case OLEIVERB_HIDE:
      if (tile_.window()) ShowWindow(tile_.window(), SW_HIDE);
      return S_OK;
    default:
      return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
  }
}

HRESULT TileControl::ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position) {
  if (tile_.window()) {
    ShowWindow(tile_.window(), SW_SHOWNA);
    return S_OK;
  }
  if (!site) return E_UNEXPECTED;
  IOleInPlaceSite* in_place = nullptr;
  if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&in_place)))) {
    return E_NOINTERFACE;
  }
  if (in_place->CanInPlaceActivate() != S_OK) {
    in_place->Release();
    return E_FAIL;
  }
  in_place->OnInPlaceActivate();
  HWND site_window = nullptr;
  if (SUCCEEDED(in_place->GetWindow(&site_window)) && site_window) parent = site_window;
  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = nullptr;
  RECT place = {}, clip = {};
  OLEINPLACEFRAMEINFO frame_info = {};
  frame_info.cb = sizeof(frame_info);
  if (SUCCEEDED(in_place->GetWindowContext(&frame, &document, &place, &clip, &frame_info))) {
    if (frame) frame->Release();
    if (document) document->Release();
  }
  if (position) place = *position;
  // The tile keeps its own size wherever the container puts it.
  const SIZE size = tile_.PixelSize();
  RECT rect = {place.left, place.top, place.left + size.cx, place.top + size.cy};
  if (!parent || !tile_.Create(parent, rect)) {
    in_place->OnInPlaceDeactivate();
    in_place->Release();
    return E_FAIL;
  }
  in_place_site_ = in_place;
  return S_OK;
}

HRESULT TileControl::EnumVerbs(IEnumOLEVERB** verbs) {
  return OleRegEnumVerbs(CLSID_frmKakei, verbs);
}

HRESULT TileControl::Update() { return S_OK; }

HRESULT TileControl::IsUpToDate() { return S_OK; }

HRESULT TileControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT TileControl::GetUserType(DWORD form, LPOLESTR* type) {
  return OleRegGetUserType(CLSID_frmKakei, form, type);
}

HRESULT TileControl::SetExtent(DWORD aspect, SIZEL*) {
  TraceCall("IOleObject::SetExtent");
  // The tile has one size; containers read it back with GetExtent.
  return aspect == DVASPECT_CONTENT ? E_FAIL : DV_E_DVASPECT;
}

HRESULT TileControl::GetExtent(DWORD aspect, SIZEL* size) {
  TraceCall("IOleObject::GetExtent");
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  const SIZE pixels = tile_.PixelSize();
  size->cx = PixelsToHimetric(pixels.cx, twips_per_pixel_);
  size->cy = PixelsToHimetric(pixels.cy, twips_per_pixel_);
  return S_OK;
}

HRESULT TileControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!advise_holder_ && FAILED(CreateOleAdviseHolder(&advise_holder_))) return E_OUTOFMEMORY;
  return advise_holder_->Advise(sink, connection);
}

HRESULT TileControl::Unadvise(DWORD connection) {
  return advise_holder_ ? advise_holder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT TileControl::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  return advise_holder_ ? advise_holder_->EnumAdvise(advise) : E_FAIL;
}

HRESULT TileControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  TraceCall("IOleObject::GetMiscStatus");
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
  return S_OK;
}

HRESULT TileControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject.

HRESULT TileControl::GetWindow(HWND* window) {
  TraceCall("IOleWindow::GetWindow");
  if (!window) return E_POINTER;
  *window = tile_.window();
  return *window ? S_OK : E_FAIL;
}

HRESULT TileControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT TileControl::InPlaceDeactivate() {
  TraceCall("IOleInPlaceObject::InPlaceDeactivate");
  if (!in_place_site_) return S_OK;
  tile_.Destroy();
  IOleInPlaceSite* site = in_place_site_;
  in_place_site_ = nullptr;
  site->OnInPlaceDeactivate();
  site->Release();
  return S_OK;
}

HRESULT TileControl::UIDeactivate() { return S_OK; }

HRESULT TileControl::SetObjectRects(LPCRECT position, LPCRECT) {
  TraceCall("IOleInPlaceObject::SetObjectRects");
  if (!position) return E_POINTER;
  if (tile_.window()) {
    const SIZE size = tile_.PixelSize();
    MoveWindow(tile_.window(), position->left, position->top, size.cx, size.cy, TRUE);
  }
  return S_OK;
}

HRESULT TileControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

// The tile takes no keys.
HRESULT TileControl::TranslateAccelerator(LPMSG) { return S_FALSE; }

HRESULT TileControl::OnFrameWindowActivate(BOOL) { return S_OK; }

HRESULT TileControl::OnDocWindowActivate(BOOL) { return S_OK; }

HRESULT TileControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }

HRESULT TileControl::EnableModeless(BOOL) { return S_OK; }

// IOleControl.

HRESULT TileControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT TileControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

HRESULT TileControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

HRESULT TileControl::FreezeEvents(BOOL) { return S_OK; }

// IViewObject2.

HRESULT TileControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                          LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  TraceCall("IViewObject::Draw");
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc || !bounds) return E_INVALIDARG;
  const RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  tile_.Draw(dc, rect);
  return S_OK;
}

HRESULT TileControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  if (colors) *colors = nullptr;
  return S_FALSE;
}

HRESULT TileControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }

HRESULT TileControl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT TileControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  Replace(view_sink_, sink);
  view_aspects_ = aspects;
  view_flags_ = flags;
  return S_OK;
}

HRESULT TileControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = view_aspects_;
  if (flags) *flags = view_flags_;
  if (sink) {
    *sink = view_sink_;
    if (view_sink_) view_sink_->AddRef();
  }
  return S_OK;
}

HRESULT TileControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

// IPersist, IPersistStreamInit, IPersistPropertyBag: nothing is kept.

HRESULT TileControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_frmKakei;
  return S_OK;
}

HRESULT TileControl::IsDirty() { return S_FALSE; }

HRESULT TileControl::Load(LPSTREAM) {
  TraceCall("IPersistStreamInit::Load");
  return S_OK;
}

HRESULT TileControl::Save(LPSTREAM, BOOL) { return S_OK; }

HRESULT TileControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

HRESULT TileControl::InitNew() {
  TraceCall("IPersist*::InitNew");
  return S_OK;
}

HRESULT TileControl::Load(IPropertyBag*, IErrorLog*) {
  TraceCall("IPersistPropertyBag::Load");
  return S_OK;
}

HRESULT TileControl::Save(IPropertyBag*, BOOL, BOOL) { return S_OK; }

// IProvideClassInfo.

HRESULT TileControl::GetClassInfo(ITypeInfo** info) { return TypeInfoOf(CLSID_frmKakei, info); }

// IConnectionPointContainer.

HRESULT TileControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return NewPointEnumerator(&events_, points);
}

HRESULT TileControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  TraceCall("IConnectionPointContainer::FindConnectionPoint");
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != DIID___frmKakei) return CONNECT_E_NOCONNECTION;
  *point = &events_;
  events_.AddRef();
  return S_OK;
}

// IObjectSafety: the control has nothing a script could misuse and reads no
// parameters.

HRESULT TileControl::GetInterfaceSafetyOptions(REFIID, DWORD* supported, DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  *supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  *enabled = safety_;
  return S_OK;
}

HRESULT TileControl::SetInterfaceSafetyOptions(REFIID, DWORD mask, DWORD enabled) {
  const DWORD supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  if (mask & ~supported) return E_FAIL;
  safety_ = (safety_ & ~mask) | (enabled & mask);
  return S_OK;
}

}  // namespace h5
