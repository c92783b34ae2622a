// The three banks' replies turned into the news pane's lines.
#include "core/news/parse_text.h"
#include "core/news/rates_cbr.h"
#include "core/news/rates_nbk.h"
#include "core/news/rates_nbu.h"

#include <gtest/gtest.h>

using namespace brevio::news;

namespace {

const std::string kHome = "http://bank.example/";

std::string nbuPage(const std::string& rows)
{
    return "<html><h5 align=center>Heading one<br>Heading two</h5>"
           "<td width=\"15%\" align=center> <b>Code</b></td><td width=\"20%\" align=center> <b>Units</b>"
           "<td width=\"45%\" align=center> <b>Name</b><td width=\"20%\" align=center> <b>Rate</b>"
        + rows + "<br><class=\"black\" >Closing note</p></html>";
}

std::string nbuRow(const std::string& code, const std::string& rate)
{
    return "<tr><td align=center>" + code + "&nbsp;</td><td align=center>100&nbsp;</td>"
        + "<td align=left>Dollar</td><td align=right>" + rate + "</td></tr>";
}

} // namespace

TEST(NewsRatesNbu, LayoutWithRowsRunTogetherAndOnlyTheFiveCharactersRemoved)
{
    const auto lines = nbuRateLines(nbuPage(nbuRow("USD", "531.55") + nbuRow("EUR", "640.10")), kHome).lines;
    const std::string fromBank
        = data("Информация получена с официального сервера Национального Банка Украины");
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], fromBank);
    EXPECT_EQ(lines[1], kHome);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "Heading one");
    EXPECT_EQ(lines[4], "Heading two");
    EXPECT_TRUE(lines[5].starts_with(data("встановлює такі")));
    EXPECT_TRUE(lines[5].ends_with(data("без зобов'язань Національного банку України купувати та продавати "
                                        "зазначені валюти за цими курсами")));
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "Code\tUnits\tName\tRate");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "USD;100;Dollar531.55");
    EXPECT_EQ(lines[10], "EUR;100;Dollar640.10");
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[12], "Closing note");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], fromBank);
    EXPECT_EQ(lines[15], kHome);
}

TEST(NewsRatesNbu, APageWithoutRowsGivesHeadingsThenTheClosingNote)
{
    const auto lines = nbuRateLines(nbuPage(""), kHome).lines;
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "Closing note");
}

TEST(NewsRatesCbr, EveryCurrencyInDocumentOrderWithTheRequestDate)
{
    std::string xml = "<?xml version=\"1.0\"?><ValCurs Date=\"09.12.2026\">";
    for (int i = 1; i <= 15; ++i)
        xml += "<Valute ID=\"R" + std::to_string(i) + "\"><NumCode>" + std::to_string(100 + i)
            + "</NumCode><CharCode>C" + std::to_string(i) + "</CharCode><Nominal>1</Nominal><Name>"
            + data("Валюта ") + std::to_string(i) + "</Name><Value>" + std::to_string(i)
            + ",5000</Value></Valute>";
    xml += "</ValCurs>";

    const std::string date = cbrRequestDate(2026, 12, 9, '.');
    EXPECT_EQ(date, "09.12.2026");
    const auto lines = cbrRateLines(xml, kHome, date).lines;
    ASSERT_EQ(lines.size(), 6u + 15u + 5u);
    EXPECT_EQ(lines[3],
              data("Центральный банк Российской Федерации установил с 09.12.2026 следующие курсы "
                   "иностранных валют к рублю РФ для целей учета и таможенных платежей."));
    EXPECT_EQ(lines[5], data("Цифр. Код\tБукв. Код\tЕдиниц\tВалюта\tКурс"));
    EXPECT_EQ(lines[6], "101\tC1\t1\t" + data("Валюта 1") + "\t1,5000");
    EXPECT_EQ(lines[20], "115\tC15\t1\t" + data("Валюта 15") + "\t15,5000");
    EXPECT_EQ(lines[21], "");
    EXPECT_EQ(lines[25], kHome);
    EXPECT_EQ(cbrRequestDate(2004, 1, 5, '/'), "05/01/2004");
}

TEST(NewsRatesCbr, LowerCaseTagsGiveNoCurrencyLines)
{
    const auto lines = cbrRateLines("<numcode>840</numcode><value>1</value>", kHome, "01.01.2026").lines;
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7],
              data("Курсы установлены без обязательств Банка России покупать и продавать указанные "
                   "валюты по данному курсу."));
}

TEST(NewsRatesNbk, MarkersMatchInAnyCaseAndNotesAreCleaned)
{
    const std::string upper
        = "<html><!--CONTENT--><TABLE><TR><TD BGCOLOR=#487A5D colSpan=\"2\"><center><font color=\"#FFFFFF\">"
          "Rates on 09.12.2026</font></center></TD></TR>"
          "<TR><TD BGCOLOR=\"#B9CEB0\" NOWRAP> US Dollar </TD>"
          "<TD BGCOLOR=\"#B9CEB0\" ALIGN=\"RIGHT\" width=50> 1&nbsp;450.10 </TD></TR>"
          "<TR><TD BGCOLOR=\"#B9CEB0\" NOWRAP>Euro&nbsp;</TD>"
          "<TD BGCOLOR=\"#B9CEB0\" ALIGN=\"RIGHT\">512.00</TD></TR></TABLE>"
          "<P> First note. </P><P>Second<BR> note </P><!--/CONTENT--></html>";
    std::string lower;
    for (char c : upper)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // "</P>" and "<BR>" are exact: the lower-case page keeps its "<br>" and loses the notes.
    const auto lines = nbkRateLines(upper, kHome).lines;
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[3], "Rates on 09.12.2026");
    EXPECT_EQ(lines[5], data("Название Валюты\tОфициальный курс, тенге"));
    EXPECT_EQ(lines[6], "US Dollar\t1450.10");
    EXPECT_EQ(lines[7], "Euro\t512.00");
    EXPECT_EQ(lines[8], "First note.");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "Second note");
    EXPECT_EQ(lines[13], kHome);

    const auto lowerLines = nbkRateLines(lower, kHome).lines;
    ASSERT_EQ(lowerLines.size(), 14u);
    EXPECT_EQ(lowerLines[3], "rates on 09.12.2026");
    EXPECT_EQ(lowerLines[6], "us dollar\t1450.10");
    EXPECT_EQ(lowerLines[7], "euro\t512.00");
}

TEST(NewsRatesNbk, WithoutTheContentEndThereIsNothingToParse)
{
    const auto lines = nbkRateLines("<!--CONTENT--><TD BGCOLOR=\"#B9CEB0\" NOWRAP>USD</TD>", kHome).lines;
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[5], data("Название Валюты\tОфициальный курс, тенге"));
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "");
}
