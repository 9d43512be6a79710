// Resource numbers shared by the .rc files and the code that loads them.
// Plain #defines: the resource compiler reads this file too.
#ifndef H5KAKEI_WIN32_RESOURCE_IDS_H_
#define H5KAKEI_WIN32_RESOURCE_IDS_H_

// The six illustrations of imglstKekka, 24-bit bitmaps: picture n is
// H5_IDB_KEKKA1 + n - 1.
#define H5_IDB_KEKKA1 101
// The hand cursor, hot spot at the fingertip.
#define H5_IDC_HAND 201
// The 16 x 15, 16-colour toolbox bitmap containers show for the control.
#define H5_IDB_TOOLBOX 30000
// The embedded type library.
#define H5_TYPELIB 1

#endif  // H5KAKEI_WIN32_RESOURCE_IDS_H_
