#include "errors/KtException.h"
#include "support/AllValueTypes.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <functional>

using namespace KtValue;

// Random octets and texts through the conversions. The seed is printed;
// QSX_FUZZ_SEED=<n> repeats a run.
namespace {

constexpr int kCases = 3000;

// Types whose raw form always has the part size, whatever the text.
bool alwaysFixedSize(quint32 type)
{
    switch (type) {
    case KtType::Boolean:
    case KtType::Integer:
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
    case KtType::TimeTicks:
    case KtType::Counter64:
    case KtType::Double:
    case KtType::DateTime:
    case KtType::BcDateTime:
    case KtType::Bool8:
    case KtType::Int8:
    case KtType::UInt8:
    case KtType::Bool16:
    case KtType::Int16:
    case KtType::UInt16:
        return true;
    default:
        return false;
    }
}

quint32 seedFromEnvironment()
{
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("QSX_FUZZ_SEED").toUInt(&ok);
    return ok ? seed : 4810u;
}

} // namespace

class TstValueFuzz : public QObject
{
    Q_OBJECT

private:
    quint32 m_seed = 0;
    QRandomGenerator m_rng;

    QByteArray octets(int n)
    {
        QByteArray out(n, '\0');
        for (int i = 0; i < n; ++i)
            out[i] = char(m_rng.bounded(256));
        return out;
    }

    // A raw value whose display text is meant to be lossless for the type.
    QByteArray canonicalRaw(quint32 type)
    {
        switch (type) {
        case KtType::BitStr:
        case KtType::OctetStr:
        case KtType::Opaque:
            return octets(m_rng.bounded(1, 41));
        case KtType::MacAddress:
            return octets(6);
        case KtType::Ipv6Address:
            return octets(16);
        case KtType::ObjectId:
            return octets(4 * m_rng.bounded(1, 13));
        case KtType::Counter64: {
            // Values near the top of the range stress the exact digit path.
            QByteArray raw = octets(8);
            if (m_rng.bounded(4) == 0)
                raw[7] = char(0xFF);
            return raw;
        }
        case KtType::Boolean:
            return QByteArray::fromHex(m_rng.bounded(2) ? "01000000" : "00000000");
        case KtType::Bool8:
            return QByteArray(1, char(m_rng.bounded(2)));
        case KtType::Bool16:
            return QByteArray::fromHex(m_rng.bounded(2) ? "0001" : "0000");
        case KtType::DateTime: {
            QByteArray raw = octets(11);
            raw[8] = m_rng.bounded(2) ? '+' : '-';
            if (raw[9] == 0 && raw[10] == 0)
                raw[8] = '+';
            return raw;
        }
        case KtType::DisplayStr:
            return randomUtf8();
        default:
            return octets(PartSize(type));
        }
    }

    QByteArray randomUtf8()
    {
        QString text;
        const int n = m_rng.bounded(1, 30);
        for (int i = 0; i < n; ++i) {
            char32_t cp = 0;
            switch (m_rng.bounded(3)) {
            case 0:
                cp = char32_t(m_rng.bounded(0x80));
                break;
            case 1:
                cp = char32_t(m_rng.bounded(0x80, 0xD800));
                break;
            default:
                cp = char32_t(m_rng.bounded(0xE000, 0x110000));
                break;
            }
            text += QString::fromUcs4(&cp, 1);
        }
        return text.toUtf8();
    }

    QString randomText()
    {
        static const char alphabet[] = "0123456789+-.eE:, daysnaifxTpm/";
        QString text;
        const int n = m_rng.bounded(0, 60);
        switch (m_rng.bounded(4)) {
        case 0:
            for (int i = 0; i < n; ++i)
                text += QChar(char16_t(m_rng.bounded(1, 0x10000)));
            break;
        case 1:
            text = QString::fromLatin1(octets(n));
            break;
        case 2:
            text = QString(m_rng.bounded(1, 2000), QChar(u'0' + m_rng.bounded(10)));
            if (m_rng.bounded(2))
                text.prepend(m_rng.bounded(2) ? u'-' : u'+');
            break;
        default:
            for (int i = 0; i < n; ++i)
                text += QLatin1Char(alphabet[m_rng.bounded(int(sizeof alphabet) - 1)]);
            break;
        }
        return text;
    }

    static QString describe(const QByteArray &raw, const QString &text)
    {
        return QStringLiteral("raw %1 text \"%2\"").arg(QString::fromLatin1(raw.toHex()), text.left(200));
    }

private slots:
    void initTestCase()
    {
        m_seed = seedFromEnvironment();
        qInfo("random seed %u (set QSX_FUZZ_SEED to repeat)", m_seed);
    }

    void init() { m_rng.seed(m_seed); }

    void rawRoundTrip_data()
    {
        QTest::addColumn<quint32>("type");
        for (quint32 type : {KtType::BitStr, KtType::OctetStr, KtType::Opaque, KtType::MacAddress,
                             KtType::Ipv6Address, KtType::Integer, KtType::Counter, KtType::Gauge,
                             KtType::UInteger, KtType::TimeTicks, KtType::Counter64, KtType::ObjectId,
                             KtType::IpAddress, KtType::NsapAddr, KtType::Boolean, KtType::Bool8,
                             KtType::Bool16, KtType::Int8, KtType::UInt8, KtType::Int16, KtType::UInt16,
                             KtType::DateTime, KtType::DisplayStr})
            QTest::addRow("type %u", type) << type;
    }

    void rawRoundTrip()
    {
        QFETCH(quint32, type);
        for (int i = 0; i < kCases; ++i) {
            const QByteArray raw = canonicalRaw(type);
            const QString text = RawToText(raw, type);
            const QByteArray back = TextToRaw(text, type);
            QVERIFY2(back == raw, qPrintable(describe(raw, text)));
        }
    }

    // Printing what was parsed from a printed text gives that text again.
    void printedTextIsStable_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::newRow("double") << quint32(KtType::Double);
        QTest::newRow("bcdatetime") << quint32(KtType::BcDateTime);
    }

    void printedTextIsStable()
    {
        QFETCH(quint32, type);
        for (int i = 0; i < kCases; ++i) {
            QByteArray raw = octets(8);
            if (type == KtType::BcDateTime) {
                const double days = double(m_rng.bounded(-693593, 2958466)) + m_rng.generateDouble();
                raw = QByteArray(8, '\0');
                const quint64 bits = std::bit_cast<quint64>(days);
                for (int k = 0; k < 8; ++k)
                    raw[k] = char(bits >> (8 * k));
            }
            QString text;
            try {
                text = RawToText(raw, type);
            } catch (const KtException &e) {
                // Only the last instant of 9999/12/31 may round out of range.
                QVERIFY2(type == KtType::BcDateTime && e.code() == -518, qPrintable(describe(raw, {})));
                continue;
            }
            const QString again = RawToText(TextToRaw(text, type), type);
            QVERIFY2(again == text, qPrintable(describe(raw, text) + " printed again as " + again));
        }
    }

    // Any octets either print or raise -518 for a fixed size they lack;
    // what prints can always be parsed again.
    void arbitraryOctets_data()
    {
        QTest::addColumn<quint32>("type");
        for (quint32 type : kAllTypes)
            QTest::addRow("type %u", type) << type;
    }

    void arbitraryOctets()
    {
        QFETCH(quint32, type);
        // DateAndTime may come without its zone.
        const int size = type == KtType::DateTime ? 8 : PartSize(type);
        for (int i = 0; i < kCases; ++i) {
            const QByteArray raw = octets(m_rng.bounded(0, 24));
            QString text;
            try {
                text = RawToText(raw, type);
            } catch (const KtException &e) {
                const bool tooShort = !raw.isEmpty() && raw.size() < size;
                QVERIFY2(e.code() == -518 && (tooShort || type == KtType::BcDateTime),
                         qPrintable(describe(raw, {}) + " raised " + QString::number(e.code())));
                continue;
            }
            QVERIFY2(raw.isEmpty() || raw.size() >= size, qPrintable(describe(raw, text)));
            QByteArray back;
            try {
                back = TextToRaw(text, type);
            } catch (const KtException &e) {
                QFAIL(qPrintable(describe(raw, text) + " does not parse: " + QString::number(e.code())));
            }
            if (type == KtType::DisplayStr && back != raw)
                QCOMPARE(text, QString::fromLatin1(raw));
        }
    }

    // Malformed texts never raise for a known type and give a raw form of
    // the proper size that prints again.
    void malformedTexts_data()
    {
        QTest::addColumn<quint32>("type");
        for (quint32 type : kAllTypes)
            QTest::addRow("type %u", type) << type;
    }

    void malformedTexts()
    {
        QFETCH(quint32, type);
        QStringList texts = {
            QString(), "-", "+", "+-1", "--1", "1e99999", "-1e99999", "1e-99999", "nan", "-nan", "inf",
            "NaN(123)", ".", "e5", "0x1p3", "99999999999999999999999999999999999999", "-9223372036854775809",
            "1 days", "days", "day, :::...", "4294967296 days, 99999999999:99999999999:9999999999.999999999",
            ":", "..", "1.2.3.4.5.6.7.8", "999.999.999.999", "-1.-1.-1.-1", "2008-3-14,13:5:9.0,-",
            "9999/12/31 11:59:59 pm", "10000/01/01", "2008/13/01", QString(100000, u'9'),
            QString(100000, u'9') + ".5e" + QString(5000, u'9'), "0." + QString(5000, u'0') + "1",
            QString(QChar(0xD800)), QStringLiteral("\u00e9\u20ac"), QString(1, QChar(0)),
        };
        for (int i = 0; i < kCases; ++i)
            texts << randomText();

        for (const QString &text : std::as_const(texts)) {
            QByteArray raw;
            try {
                raw = TextToRaw(text, type);
            } catch (const KtException &e) {
                QFAIL(qPrintable(describe({}, text) + " raised " + QString::number(e.code())));
            }
            if (alwaysFixedSize(type))
                QVERIFY2(raw.size() == PartSize(type), qPrintable(describe(raw, text)));
            try {
                RawToText(raw, type);
            } catch (const KtException &e) {
                // Addresses with too few components or hex digits are too
                // short to print; nothing else may fail.
                QVERIFY2(e.code() == -518 && !alwaysFixedSize(type) && raw.size() < PartSize(type),
                         qPrintable(describe(raw, text) + " raised " + QString::number(e.code())));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TstValueFuzz)
#include "tst_valuefuzz.moc"
