#include "ScanCubeDlg.h"

#include "CubeDiagnosis.h"
#include "EditCommands.h"
#include "MessageBox.h"
#include "Palette.h"
#include "ScanViews.h"
#include "ZelvorsCubeDlg.h"

#ifdef ZELVORS_HAVE_CAMERA
#include "ScanCamera.h"
#endif

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Scan Cube");
constexpr int kResultPage = 6;
// Photos are read at most this large (longer side, pixels): the stickers
// are many pixels at any size, and a phone's 12 megapixels would slow the
// dragging of corners.
constexpr int kMaxPhotoSide = 1600;
constexpr int kIconSide = 40;

QString ImageFilter()
{
    return QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.webp *.tif *.tiff);;All files (*)");
}

// File names in the order a person counts them: "face-2" before "face-10",
// letters without regard to case. (QCollator's numeric mode needs ICU and a
// locale; this order is the same everywhere.)
bool NaturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ie = i, je = j;
            while (ie < a.size() && a[ie].isDigit())
                ++ie;
            while (je < b.size() && b[je].isDigit())
                ++je;
            // Numbers compared by value: leading zeros off, then length, then digits.
            QStringView x = QStringView(a).mid(i, ie - i), y = QStringView(b).mid(j, je - j);
            while (x.size() > 1 && x.front() == QLatin1Char('0'))
                x = x.mid(1);
            while (y.size() > 1 && y.front() == QLatin1Char('0'))
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (const int c = x.compare(y); c != 0)
                return c < 0;
            i = ie, j = je;
            continue;
        }
        const QChar ca = a[i].toLower(), cb = b[j].toLower();
        if (ca != cb)
            return ca < cb;
        ++i, ++j;
    }
    return a.size() - i < b.size() - j;
}

// A small net of the decided colours (grey before a decision).
QImage NetIcon(const Facelets* pColors, int nSide)
{
    static const int kPlace[6][2] = {{1, 0}, {1, 1}, {2, 1}, {0, 1}, {3, 1}, {1, 2}};
    QImage image(nSide, nSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int c = nSide / 12;
    const int y0 = (nSide - 9 * c) / 2, x0 = (nSide - 12 * c) / 2;
    for (int f = 0; f < kFaceletCount; ++f) {
        const int s = f / 9, e = f % 9;
        const QRect rc(x0 + kPlace[s][0] * 3 * c + (e % 3) * c, y0 + kPlace[s][1] * 3 * c + (e / 3) * c, c, c);
        const BYTE k = pColors ? (*pColors)[static_cast<size_t>(f)] : 0;
        painter.fillRect(rc, QColor(Palette::kNet[k <= 6 ? k : 0]));
    }
    return image;
}

} // namespace

bool CScanCubeDlg::HasCameraPage()
{
#ifdef ZELVORS_HAVE_CAMERA
    return true;
#else
    return false;
#endif
}

CScanCubeDlg::CScanCubeDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(kTitle);
    setObjectName(QStringLiteral("scanCubeDialog"));
    auto* pMain = new QVBoxLayout(this);
    auto* pStrip = new QHBoxLayout;
    for (int k = 0; k <= kResultPage; ++k) {
        auto* pButton = new QToolButton(this);
        pButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        pButton->setIconSize(QSize(kIconSide, kIconSide));
        pButton->setCheckable(true);
        pButton->setAutoExclusive(true);
        pButton->setAutoRaise(true);
        pButton->setText(k < kResultPage ? FaceTitle(k) : QStringLiteral("Result"));
        connect(pButton, &QToolButton::clicked, this, [this, k] { GoTo(k); });
        m_strip[static_cast<size_t>(k)] = pButton;
        pStrip->addWidget(pButton);
    }
    pStrip->addStretch();
    pMain->addLayout(pStrip);

    m_pPages = new QStackedWidget(this);
    m_pPages->addWidget(BuildFacePage());
    m_pPages->addWidget(BuildResultPage());
    pMain->addWidget(m_pPages, 1);

    auto* pButtons = new QHBoxLayout;
    m_pBack = new QPushButton(QStringLiteral("< &Back"), this);
    m_pNext = new QPushButton(QStringLiteral("&Next >"), this);
    m_pUse = new QPushButton(QStringLiteral("&Use This Cube"), this);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* p : {m_pBack, m_pNext, m_pUse, pCancel})
        p->setAutoDefault(false);
    pButtons->addWidget(m_pBack);
    pButtons->addWidget(m_pNext);
    pButtons->addStretch();
    pButtons->addWidget(m_pUse);
    pButtons->addWidget(pCancel);
    pMain->addLayout(pButtons);
    connect(m_pBack, &QPushButton::clicked, this, &CScanCubeDlg::OnBack);
    connect(m_pNext, &QPushButton::clicked, this, &CScanCubeDlg::OnNext);
    connect(m_pUse, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(920, 640);
    GoTo(0);
}

CScanCubeDlg::~CScanCubeDlg()
{
    StopCamera();
}

// ---------------------------------------------------------------- pages

QWidget* CScanCubeDlg::BuildFacePage()
{
    auto* pPage = new QWidget(this);
    auto* pLayout = new QHBoxLayout(pPage);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pSources = new QTabWidget(pPage);
    m_pSources->addTab(BuildPhotoTab(), QStringLiteral("&Photo"));
    if (HasCameraPage())
        m_pSources->addTab(BuildCameraTab(), QStringLiteral("&Camera"));
    connect(m_pSources, &QTabWidget::currentChanged, this, &CScanCubeDlg::OnSourceChanged);
    pLayout->addWidget(m_pSources, 1);

    auto* pSide = new QVBoxLayout;
    m_pFaceTitle = new QLabel(pPage);
    QFont bold = m_pFaceTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_pFaceTitle->setFont(bold);
    m_pPose = new CPoseView(pPage);
    m_pHold = new QLabel(pPage);
    m_pHold->setWordWrap(true);
    m_pReadTitle = new QLabel(QStringLiteral("Colours read:"), pPage);
    m_pRead = new CReadFaceView(pPage);
    pSide->addWidget(m_pFaceTitle);
    pSide->addWidget(m_pPose);
    pSide->addWidget(m_pHold);
    pSide->addSpacing(8);
    pSide->addWidget(m_pReadTitle);
    pSide->addWidget(m_pRead);
    pSide->addStretch();
    auto* pSideBox = new QWidget(pPage);
    pSideBox->setLayout(pSide);
    pSideBox->setFixedWidth(210);
    pLayout->addWidget(pSideBox);
    return pPage;
}

QWidget* CScanCubeDlg::BuildPhotoTab()
{
    auto* pTab = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pTab);
    m_pPhotoView = new CPhotoView(pTab);
    m_pPhotoView->setObjectName(QStringLiteral("photoView"));
    connect(m_pPhotoView, &CPhotoView::quadChanged, this, [this] {
        if (m_nPage < kResultPage)
            SetCorners(m_nPage, m_pPhotoView->Quad());
    });
    pLayout->addWidget(m_pPhotoView, 1);
    auto* pRow = new QHBoxLayout;
    auto* pOpen = new QPushButton(QStringLiteral("&Open Photo..."), pTab);
    auto* pSix = new QPushButton(QStringLiteral("Open &Six Photos..."), pTab);
    pSix->setToolTip(QStringLiteral("Six photos, one of each face: the first by name is the top face, then "
                                    "the front, right, left, back and bottom faces."));
    for (QPushButton* p : {pOpen, pSix})
        p->setAutoDefault(false);
    connect(pOpen, &QPushButton::clicked, this, &CScanCubeDlg::OnOpenPhoto);
    connect(pSix, &QPushButton::clicked, this, &CScanCubeDlg::OnOpenSixPhotos);
    pRow->addWidget(pOpen);
    pRow->addWidget(pSix);
    pRow->addStretch();
    pLayout->addLayout(pRow);
    m_pPhotoStatus = new QLabel(pTab);
    m_pPhotoStatus->setWordWrap(true);
    // Room for three lines, so that the photo does not jump as the text changes.
    m_pPhotoStatus->setMinimumHeight(3 * m_pPhotoStatus->fontMetrics().lineSpacing());
    m_pPhotoStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLayout->addWidget(m_pPhotoStatus);
    return pTab;
}

QWidget* CScanCubeDlg::BuildCameraTab()
{
    m_pCameraTab = new QWidget(this);
    auto* pLayout = new QVBoxLayout(m_pCameraTab);
    auto* pTop = new QHBoxLayout;
    auto* pListLabel = new QLabel(QStringLiteral("Ca&mera:"), m_pCameraTab);
    m_pCameraList = new QComboBox(m_pCameraTab);
    pListLabel->setBuddy(m_pCameraList);
    pTop->addWidget(pListLabel);
    pTop->addWidget(m_pCameraList, 1);
    pLayout->addLayout(pTop);
    m_pCameraView = new CPhotoView(m_pCameraTab);
    m_pCameraView->setObjectName(QStringLiteral("cameraView"));
    m_pCameraView->SetEditable(false);
    pLayout->addWidget(m_pCameraView, 1);
    auto* pRow = new QHBoxLayout;
    m_pCapture = new QPushButton(QStringLiteral("Capture (Space)"), m_pCameraTab);
    m_pCapture->setAutoDefault(false);
    m_pAuto = new QCheckBox(QStringLiteral("&Take the face once it is held still in the guide"), m_pCameraTab);
    m_pAuto->setChecked(true);
    pRow->addWidget(m_pCapture);
    pRow->addWidget(m_pAuto);
    pRow->addStretch();
    pLayout->addLayout(pRow);
    m_pCameraStatus = new QLabel(m_pCameraTab);
    m_pCameraStatus->setObjectName(QStringLiteral("cameraStatus"));
    m_pCameraStatus->setWordWrap(true);
    m_pCameraStatus->setMinimumHeight(2 * m_pCameraStatus->fontMetrics().lineSpacing());
    m_pCameraStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLayout->addWidget(m_pCameraStatus);
    connect(m_pCapture, &QPushButton::clicked, this, &CScanCubeDlg::OnCapture);
    m_pSpace = new QShortcut(QKeySequence(Qt::Key_Space), this);
    m_pSpace->setEnabled(false);
    connect(m_pSpace, &QShortcut::activated, this, &CScanCubeDlg::OnCapture);
    connect(m_pCameraList, &QComboBox::activated, this, [this] {
        StopCamera();
        StartCamera();
    });
    return m_pCameraTab;
}

QWidget* CScanCubeDlg::BuildResultPage()
{
    auto* pPage = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pPage);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pNetView = new CScanNetView(pPage);
    m_pNetView->setObjectName(QStringLiteral("scanNet"));
    connect(m_pNetView, &CScanNetView::faceletClicked, this,
            [this](int nFacelet, bool bRight) { CycleFacelet(nFacelet, bRight); });
    pLayout->addWidget(m_pNetView, 1);
    m_pNote = new QLabel(pPage);
    m_pNote->setObjectName(QStringLiteral("scanNote"));
    m_pNote->setWordWrap(true);
    m_pNote->setTextFormat(Qt::RichText);
    m_pNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The verdict, the decision's note and the pins.
    m_pNote->setMinimumHeight(5 * m_pNote->fontMetrics().lineSpacing());
    pLayout->addWidget(m_pNote);
    auto* pRow = new QHBoxLayout;
    auto* pLegend = new QLabel(QStringLiteral("Each sticker shows the colour decided, the colour measured in its "
                                              "middle. A click gives a sticker its next likely colour and pins it "
                                              "(a dot); the rest is decided again around it. A right-click unpins."),
                               pPage);
    pLegend->setWordWrap(true);
    m_pClearPins = new QPushButton(QStringLiteral("Unpin &All"), pPage);
    m_pClearPins->setAutoDefault(false);
    connect(m_pClearPins, &QPushButton::clicked, this, [this] {
        m_pins.fill(0);
        m_cycles = {};
        Decide();
    });
    pRow->addWidget(pLegend, 1);
    pRow->addWidget(m_pClearPins);
    pLayout->addLayout(pRow);
    return pPage;
}

void CScanCubeDlg::GoTo(int nPage)
{
    nPage = std::clamp(nPage, 0, kResultPage);
    if (nPage == kResultPage && NextUnread(0) < kResultPage)
        nPage = NextUnread(0);
    m_nPage = nPage;
    if (nPage == kResultPage) {
        m_pPages->setCurrentIndex(1);
        if (!m_bDecided)
            Decide();
    } else {
        m_pPages->setCurrentIndex(0);
        ShowFace();
    }
    OnSourceChanged();
    UpdateStrip();
    UpdateButtons();
}

int CScanCubeDlg::NextUnread(int nSlot) const
{
    for (int i = 0; i < 6; ++i) {
        const int s = (nSlot + i) % 6;
        if (!m_faces[static_cast<size_t>(s)].bRead)
            return s;
    }
    return kResultPage;
}

void CScanCubeDlg::ShowFace()
{
    const int s = m_nPage;
    const Face& face = m_faces[static_cast<size_t>(s)];
    m_pFaceTitle->setText(QStringLiteral("%1 face (%2 of 6)").arg(FaceTitle(s)).arg(s + 1));
    m_pPose->SetSlot(s);
    m_pHold->setText(HoldText(s));
    const bool bLive = m_pCamera && m_pCameraTab && m_pSources->currentWidget() == m_pCameraTab && !m_lastFrame.isNull();
    m_pReadTitle->setText(bLive ? QStringLiteral("Colours in the guide:") : QStringLiteral("Colours read:"));
    m_pRead->SetReading(bLive ? &m_lastReading : face.bRead ? &face.reading : nullptr);
    if (face.photo.isNull()) {
        m_pPhotoView->SetImage(QImage());
        m_pPhotoView->SetQuadShown(false);
        m_pPhotoView->SetMessage(QStringLiteral("Open a photo of the %1 face (the %2 centre), or take it with the "
                                                "camera.")
                                     .arg(FaceTitle(s).toLower(), CentreColourName(s)));
        m_pPhotoStatus->setText(QString());
        return;
    }
    m_pPhotoView->SetImage(face.photo);
    m_pPhotoView->SetQuad(face.quad);
    m_pPhotoView->SetQuadShown(true);
    QString strStatus = QStringLiteral("Read from %1.").arg(face.strSource);
    if (face.bPlaced)
        strStatus += QStringLiteral(" The corners were placed by hand; drag one where the grid is off the stickers.");
    else if (!face.strProblem.isEmpty())
        strStatus += QStringLiteral(" No face was found in it (%1): drag the four corners onto the face's outer "
                                    "corners, the yellow edge along the face's top row.")
                         .arg(face.strProblem);
    else
        strStatus += QStringLiteral(" Drag a corner where the grid is off the stickers.");
    m_pPhotoStatus->setText(strStatus);
}

void CScanCubeDlg::UpdateStrip()
{
    for (int k = 0; k < 6; ++k) {
        const Face& face = m_faces[static_cast<size_t>(k)];
        QToolButton* p = m_strip[static_cast<size_t>(k)];
        p->setIcon(QIcon(QPixmap::fromImage(ReadingIcon(face.bRead ? &face.reading : nullptr, kIconSide))));
        p->setToolTip(face.bRead ? QStringLiteral("%1 face: read from %2").arg(FaceTitle(k), face.strSource)
                                 : QStringLiteral("%1 face: not read yet").arg(FaceTitle(k)));
        p->setChecked(k == m_nPage);
    }
    QToolButton* pResult = m_strip[kResultPage];
    pResult->setIcon(QIcon(QPixmap::fromImage(NetIcon(m_bDecided ? &m_decision.colors : nullptr, kIconSide))));
    pResult->setEnabled(NextUnread(0) == kResultPage);
    pResult->setChecked(m_nPage == kResultPage);
}

void CScanCubeDlg::UpdateButtons()
{
    const bool bAllRead = NextUnread(0) == kResultPage;
    m_pBack->setEnabled(m_nPage > 0);
    m_pNext->setEnabled(m_nPage < kResultPage && (m_nPage < 5 || bAllRead));
    m_pUse->setEnabled(m_nPage == kResultPage && m_bDecided);
    m_pUse->setDefault(m_nPage == kResultPage);
    m_pNext->setDefault(m_nPage < kResultPage);
}

void CScanCubeDlg::OnNext()
{
    GoTo(m_nPage + 1);
}

void CScanCubeDlg::OnBack()
{
    GoTo(m_nPage - 1);
}

// ---------------------------------------------------------------- the faces

scan::Measurement CScanCubeDlg::Measurement() const
{
    scan::Measurement m{};
    for (int s = 0; s < 6; ++s)
        for (int e = 0; e < 9; ++e)
            m[static_cast<size_t>(FaceletIndex(s, e))] = m_faces[static_cast<size_t>(s)].reading[static_cast<size_t>(e)];
    return m;
}

void CScanCubeDlg::OnFaceChanged(int nSlot)
{
    // Pins were chosen for the colours as they were read.
    m_bDecided = false;
    m_pins.fill(0);
    m_cycles = {};
    if (nSlot == m_nPage)
        ShowFace();
    UpdateStrip();
    UpdateButtons();
}

bool CScanCubeDlg::LoadPhoto(int nSlot, const QString& strPath)
{
    if (nSlot < 0 || nSlot >= 6)
        return false;
    QImageReader reader(strPath);
    // A phone's photo stands as it was taken.
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        ShowMessageBox(this,
                       QStringLiteral("%1 could not be read as a picture: %2.")
                           .arg(QFileInfo(strPath).fileName(), reader.errorString()),
                       kTitle, QMessageBox::Warning);
        return false;
    }
    if (std::max(image.width(), image.height()) > kMaxPhotoSide)
        image = image.scaled(kMaxPhotoSide, kMaxPhotoSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    Face& face = m_faces[static_cast<size_t>(nSlot)];
    face.photo = image.convertToFormat(QImage::Format_RGB888);
    face.image = ToPhotoImage(face.photo);
    face.strSource = QFileInfo(strPath).fileName();
    const photo::FaceFinding finding = photo::FindFace(face.image);
    if (finding.bFound) {
        face.quad = finding.corners;
        face.strProblem.clear();
    } else {
        // Where a person most likely put the face: the middle.
        face.quad = ToQuad(GuideRect(face.photo.size()));
        face.strProblem = QString::fromStdString(finding.strProblem);
    }
    face.bRead = true;
    face.bPlaced = false;
    MeasurePhoto(nSlot);
    OnFaceChanged(nSlot);
    return true;
}

bool CScanCubeDlg::LoadPhotos(QStringList paths)
{
    if (paths.size() != 6) {
        ShowMessageBox(this,
                       QStringLiteral("Choose six photos, one of each face. Names that tell the faces "
                                      "(\u201ctop\u201d or \u201cT\u201d, \u201cfront\u201d or \u201cF\u201d, "
                                      "\u2026) give each its face; otherwise they are given in the order of their "
                                      "names: top, front, right, left, back, bottom."),
                       kTitle, QMessageBox::Information);
        return false;
    }
    std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
        return NaturalLess(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    });
    // Names that tell all six faces, each once, put the photos in place.
    QStringList byName(6);
    for (const QString& strPath : paths) {
        const int s = FaceOfFileName(strPath);
        if (s < 0 || !byName[s].isEmpty()) {
            byName.clear();
            break;
        }
        byName[s] = strPath;
    }
    if (!byName.isEmpty())
        paths = byName;
    bool bAll = true;
    for (int s = 0; s < 6; ++s)
        bAll = LoadPhoto(s, paths[s]) && bAll;
    // The first face whose corners need a hand, else the result.
    int nPage = kResultPage;
    for (int s = 5; s >= 0; --s)
        if (!m_faces[static_cast<size_t>(s)].bRead || !m_faces[static_cast<size_t>(s)].strProblem.isEmpty())
            nPage = s;
    GoTo(nPage);
    return bAll;
}

void CScanCubeDlg::SetCorners(int nSlot, const photo::Quad& quad)
{
    Face& face = m_faces[static_cast<size_t>(nSlot)];
    if (face.photo.isNull())
        return;
    face.quad = quad;
    face.bPlaced = true;
    MeasurePhoto(nSlot);
    OnFaceChanged(nSlot);
}

void CScanCubeDlg::MeasurePhoto(int nSlot)
{
    Face& face = m_faces[static_cast<size_t>(nSlot)];
    face.reading = photo::MeasureFace(face.image, face.quad);
}

void CScanCubeDlg::TakeFrame(int nSlot, const QImage& frame)
{
    if (nSlot < 0 || nSlot >= 6 || frame.isNull())
        return;
    Face& face = m_faces[static_cast<size_t>(nSlot)];
    face.photo = frame.convertToFormat(QImage::Format_RGB888);
    face.image = ToPhotoImage(face.photo);
    face.quad = ToQuad(GuideRect(frame.size()));
    face.reading = MeasureGuide(frame);
    face.strSource = QStringLiteral("the camera");
    face.strProblem.clear();
    face.bPlaced = false;
    face.bRead = true;
    OnFaceChanged(nSlot);
}

void CScanCubeDlg::OnOpenPhoto()
{
    static QString s_strFolder;
    const QString strPath = QFileDialog::getOpenFileName(
        this, QStringLiteral("Photo of the %1 Face").arg(FaceTitle(m_nPage)), s_strFolder, ImageFilter());
    if (strPath.isEmpty())
        return;
    s_strFolder = QFileInfo(strPath).absolutePath();
    LoadPhoto(m_nPage, strPath);
}

void CScanCubeDlg::OnOpenSixPhotos()
{
    static QString s_strFolder;
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Six Photos: Top, Front, Right, Left, Back, Bottom by Name"), s_strFolder,
        ImageFilter());
    if (paths.isEmpty())
        return;
    s_strFolder = QFileInfo(paths.front()).absolutePath();
    LoadPhotos(paths);
}

// ---------------------------------------------------------------- the decision

void CScanCubeDlg::Decide()
{
    const scan::Measurement m = Measurement();
    m_free = scan::DecideColours(m);
    const bool bPins = std::any_of(m_pins.begin(), m_pins.end(), [](BYTE k) { return k != 0; });
    m_decision = bPins ? scan::DecideColours(m, &m_pins) : m_free;
    m_bDecided = true;
    ShowDecision();
}

void CScanCubeDlg::CycleFacelet(int nFacelet, bool bUnpin)
{
    if (!m_bDecided || nFacelet < 0 || nFacelet >= kFaceletCount || nFacelet % 9 == 4)
        return;
    const size_t f = static_cast<size_t>(nFacelet);
    if (bUnpin && !m_pins[f])
        return;
    const scan::Measurement m = Measurement();
    auto decide = [&](const Facelets& pins) {
        const bool bPins = std::any_of(pins.begin(), pins.end(), [](BYTE k) { return k != 0; });
        return bPins ? scan::DecideColours(m, &pins) : m_free;
    };
    // The others' pins, this sticker left to the decision.
    Facelets others = m_pins;
    others[f] = 0;
    Cycle& cycle = m_cycles[f];
    if (cycle.order.empty() || cycle.others != others) {
        // The sticker's colours in the order of how likely the cube is with
        // each: the colour decided for it first, then each other one pinned
        // in turn, a real cube before none and a cheaper before a dearer
        // (the measurement's own ranking where they tie).
        cycle = Cycle();
        cycle.others = others;
        const scan::ColourDecision free = decide(others);
        const BYTE nOwn = free.colors[f];
        std::vector<std::pair<BYTE, scan::ColourDecision>> alternatives;
        for (BYTE k : m_free.ranked[f])
            if (k != nOwn) {
                Facelets pins = others;
                pins[f] = k;
                alternatives.emplace_back(k, scan::DecideColours(m, &pins));
            }
        std::stable_sort(alternatives.begin(), alternatives.end(), [](const auto& a, const auto& b) {
            const bool bRealA = a.second.nResult == kSolved, bRealB = b.second.nResult == kSolved;
            if (bRealA != bRealB)
                return bRealA;
            return a.second.excess < b.second.excess;
        });
        cycle.order.push_back(nOwn);
        cycle.decisions.push_back(free);
        for (auto& [k, d] : alternatives) {
            cycle.order.push_back(k);
            cycle.decisions.push_back(std::move(d));
        }
    }
    size_t nNext = 0;
    if (!bUnpin) {
        const auto it = std::find(cycle.order.begin(), cycle.order.end(), m_decision.colors[f]);
        nNext = it == cycle.order.end() ? 1 : (static_cast<size_t>(it - cycle.order.begin()) + 1) % cycle.order.size();
    }
    // Round to the colour decided for it: no pin.
    m_pins[f] = nNext == 0 ? 0 : cycle.order[nNext];
    m_decision = cycle.decisions[nNext];
    ShowDecision();
}

void CScanCubeDlg::ShowDecision()
{
    const scan::ColourDecision& d = m_decision;
    m_pNetView->Show(d.colors, Measurement(), d.doubtful, m_pins);
    QString strHtml;
    const int nDoubt = static_cast<int>(d.doubtful.size());
    const int nPins = static_cast<int>(std::count_if(m_pins.begin(), m_pins.end(), [](BYTE k) { return k != 0; }));
    if (d.nResult == kSolved) {
        strHtml = QStringLiteral("<b>A real cube was read.</b> ");
        strHtml += nDoubt == 0   ? QStringLiteral("No sticker is in doubt.")
                   : nDoubt == 1 ? QStringLiteral("One sticker is in doubt: it is ringed.")
                                 : QStringLiteral("%1 stickers are in doubt: they are ringed.").arg(nDoubt);
    } else {
        strHtml = QStringLiteral("<b style=\"color:#c80000\">No real cube fits the colours read.</b> ");
    }
    // The note without the verdict it may begin with, said above.
    QString strNote = QString::fromStdString(d.note);
    const QString strVerdict = QStringLiteral("No real cube fits the colours read");
    if (d.nResult != kSolved && strNote.startsWith(strVerdict)) {
        strNote = strNote.mid(strVerdict.size());
        while (!strNote.isEmpty() && (strNote[0] == QLatin1Char(':') || strNote[0] == QLatin1Char('.') ||
                                      strNote[0] == QLatin1Char(' ') || strNote[0] == QLatin1Char(',')))
            strNote.remove(0, 1);
        if (!strNote.isEmpty())
            strNote[0] = strNote[0].toUpper();
    }
    // A long diagnosis: its first two problems, all of them in the tooltip.
    m_pNote->setToolTip(strNote);
    QStringList problems = strNote.split(QStringLiteral("; "));
    if (problems.size() > 2) {
        const qsizetype nMore = problems.size() - 2;
        problems = problems.mid(0, 2);
        strNote = problems.join(QStringLiteral("; ")) +
                  (nMore == 1 ? QStringLiteral("; and one more problem.")
                              : QStringLiteral("; and %1 more problems.").arg(nMore));
    }
    if (!strNote.isEmpty())
        strHtml += (d.nResult == kSolved ? QStringLiteral("<br>") : QString()) + strNote.toHtmlEscaped();
    if (d.nResult != kSolved)
        strHtml += QStringLiteral("<br>The net shows each sticker's nearest colour, the ringed ones involved: read "
                                  "a face again, or click the wrong stickers.");
    if (nPins > 0)
        strHtml += nPins == 1 ? QStringLiteral("<br>One sticker is pinned.")
                              : QStringLiteral("<br>%1 stickers are pinned.").arg(nPins);
    m_pNote->setText(strHtml);
    m_pClearPins->setEnabled(nPins > 0);
    UpdateStrip();
    UpdateButtons();
}

// ---------------------------------------------------------------- the camera

void CScanCubeDlg::ShowCameraPage()
{
    if (!m_pCameraTab)
        return;
    if (m_nPage == kResultPage)
        GoTo(NextUnread(0) < kResultPage ? NextUnread(0) : 0);
    m_pSources->setCurrentWidget(m_pCameraTab);
    OnSourceChanged();
}

void CScanCubeDlg::OnSourceChanged()
{
    const bool bCamera = m_pCameraTab && m_nPage < kResultPage && m_pSources->currentWidget() == m_pCameraTab;
    if (bCamera)
        StartCamera();
    else
        StopCamera();
}

void CScanCubeDlg::TellCamera(const QString& strText)
{
    if (m_pCameraStatus)
        m_pCameraStatus->setText(strText);
}

void CScanCubeDlg::StartCamera()
{
#ifdef ZELVORS_HAVE_CAMERA
    if (!m_pCamera) {
        m_pCamera = new CScanCamera(this);
        connect(m_pCamera, &CScanCamera::frameReady, this, &CScanCubeDlg::OnCameraFrame);
        connect(m_pCamera, &CScanCamera::failed, this, [this](const QString& strError) {
            m_pCamera->Stop();
            m_bCameraOn = false;
            TellCamera(QStringLiteral("The camera stopped: %1").arg(strError));
        });
        connect(m_pCamera, &CScanCamera::camerasChanged, this, [this] {
            m_bCamerasListed = false;
            StopCamera();
            OnSourceChanged();
        });
    }
    if (m_bCameraOn)
        return;
    if (!m_bCamerasListed) {
        const QString strWas = m_pCameraList->currentText();
        m_pCameraList->clear();
        m_pCameraList->addItems(m_pCamera->Cameras());
        const int nWas = m_pCameraList->findText(strWas);
        if (nWas >= 0)
            m_pCameraList->setCurrentIndex(nWas);
        m_bCamerasListed = true;
    }
    const bool bAny = m_pCameraList->count() > 0;
    m_pCameraList->setEnabled(bAny);
    m_pCapture->setEnabled(bAny);
    m_pAuto->setEnabled(bAny);
    if (!bAny) {
        m_pCameraView->SetImage(QImage());
        m_pCameraView->SetMessage(QStringLiteral("No camera"));
        TellCamera(QStringLiteral("No camera was found. Take a photo of each face and open them on the Photo "
                                  "page."));
        return;
    }
    m_steady.Reset();
    m_lastFrame = QImage();
    m_nFrames = 0;
    m_nFirstFrameMs = -1;
    QString strError;
    if (!m_pCamera->Start(m_pCameraList->currentIndex(), strError)) {
        m_pCameraView->SetImage(QImage());
        m_pCameraView->SetMessage(QStringLiteral("No picture"));
        TellCamera(QStringLiteral("The camera could not be started: %1").arg(strError));
        return;
    }
    m_bCameraOn = true;
    m_pSpace->setEnabled(true);
    m_pCameraView->SetImage(QImage());
    m_pCameraView->SetMessage(QStringLiteral("Waiting for the camera..."));
    TellCamera(QStringLiteral("Hold the face inside the guide."));
#endif
}

void CScanCubeDlg::StopCamera()
{
#ifdef ZELVORS_HAVE_CAMERA
    if (m_pSpace)
        m_pSpace->setEnabled(false);
    if (m_pCamera)
        m_pCamera->Stop();
    m_bCameraOn = false;
    if (!m_lastFrame.isNull()) {
        m_lastFrame = QImage();
        if (m_nPage < kResultPage)
            ShowFace();
    }
#endif
}

void CScanCubeDlg::OnCameraFrame(const QImage& image, qint64 nMs)
{
    if (!m_pCameraView || m_nPage >= kResultPage)
        return;
    const bool bFirst = m_lastFrame.isNull();
    m_lastFrame = image;
    m_lastReading = MeasureGuide(image);
    m_pCameraView->SetImage(image);
    m_pCameraView->SetQuad(ToQuad(GuideRect(image.size())));
    m_pCameraView->SetQuadShown(true);
    if (bFirst)
        ShowFace();
    else
        m_pRead->SetReading(&m_lastReading);
    // The rate shown is over the frames since the camera started.
    if (m_nFirstFrameMs < 0 || nMs < m_nLastFrameMs)
        m_nFirstFrameMs = nMs, m_nFrames = 0;
    ++m_nFrames;
    const bool bTell = nMs - m_nLastFrameMs >= 250 || m_nFrames == 1;
    if (bTell)
        m_nLastFrameMs = nMs;
    const bool bTake = m_pAuto->isChecked() && m_steady.Feed(nMs, m_lastReading);
    if (bTake) {
        OnCapture();
        return;
    }
    if (!bTell)
        return;
    const double fps = nMs > m_nFirstFrameMs ? 1000.0 * (m_nFrames - 1) / double(nMs - m_nFirstFrameMs) : 0;
    QString strText = QStringLiteral("Hold the %1 face inside the guide").arg(FaceTitle(m_nPage).toLower());
    if (m_pAuto->isChecked() && m_steady.SteadyFor() >= 100)
        strText += QStringLiteral(", still for %1 s").arg(m_steady.SteadyFor() / 1000.0, 0, 'f', 1);
    strText += QStringLiteral(".");
    if (fps > 0)
        strText += QStringLiteral(" %1 frames/s.").arg(fps, 0, 'f', 0);
    TellCamera(strText);
}

void CScanCubeDlg::OnCapture()
{
    if (m_lastFrame.isNull() || m_nPage >= kResultPage)
        return;
    const int nSlot = m_nPage;
    const QImage frame = m_lastFrame;
    m_steady.Taken(m_lastReading);
    TakeFrame(nSlot, frame);
    TellCamera(QStringLiteral("The %1 face was taken.").arg(FaceTitle(nSlot).toLower()));
    GoTo(NextUnread(nSlot));
}

void CScanCubeDlg::done(int nResult)
{
    StopCamera();
    QDialog::done(nResult);
}

// ---------------------------------------------------------------- the main dialog's side

void CZelvorsCubeDlg::AddScanCommand()
{
    QMenu* pEdit = m_pMenuBar->findChild<QMenu*>(QStringLiteral("editMenu"));
    if (!pEdit)
        return;
    m_pScanAction = new QAction(QStringLiteral("Sc&an Cube..."), pEdit);
    m_pScanAction->setObjectName(QStringLiteral("ID_EDIT_SCAN_CUBE"));
    m_pScanAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    m_pScanAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_pScanAction, &QAction::triggered, this, &CZelvorsCubeDlg::OnScanCube);
    // After Fill What Is Determined, the other command that fills the net.
    const QList<QAction*> actions = pEdit->actions();
    const qsizetype nFill = actions.indexOf(m_pEdit->m_pFillAction);
    pEdit->insertAction(nFill >= 0 && nFill + 1 < actions.size() ? actions[nFill + 1] : nullptr, m_pScanAction);
    m_commandActions << m_pScanAction;
}

void CZelvorsCubeDlg::OnScanCube()
{
    if (m_bBusy || m_bClosing || Deferred(&CZelvorsCubeDlg::OnScanCube))
        return;
    CScanCubeDlg dlg(this);
    if (dlg.exec() == QDialog::Accepted)
        UseScannedCube(dlg.Colors());
}

bool CZelvorsCubeDlg::UseScannedCube(const Facelets& colors)
{
    if (m_bBusy || m_bClosing || !m_pEdit || m_cube.IsSolving() || m_cube.TurnsUnderWay())
        return false;
    const CEditCommands::Record record(*m_pEdit, QStringLiteral("Scan"));
    ClearSolution();
    m_cube.SetColors(colors);
    m_cube.Repaint();
    return true;
}
