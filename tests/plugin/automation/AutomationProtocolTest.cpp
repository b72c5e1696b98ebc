// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationProtocol.h"

#include "automation/AutomationLineReader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace AutomationProtocol;

namespace {

Request parsed(const char* line) {
    auto result = parseRequest(QByteArray(line));
    if (auto* failure = std::get_if<ParseFailure>(&result))
        ADD_FAILURE() << failure->error.description().toStdString();
    return std::get<Request>(result);
}

ParseFailure rejected(const QByteArray& line) {
    auto result = parseRequest(line);
    EXPECT_TRUE(std::holds_alternative<ParseFailure>(result)) << line.toStdString();
    if (auto* failure = std::get_if<ParseFailure>(&result))
        return *failure;
    return {QJsonValue(), Error(0, {}, {})};
}

QJsonObject replyObject(const QByteArray& line) {
    EXPECT_TRUE(line.endsWith('\n'));
    EXPECT_EQ(line.count('\n'), 1);
    return QJsonDocument::fromJson(line).object();
}

TEST(AutomationRequests, ReadEveryOperation) {
    EXPECT_EQ(parsed(R"({"id":1,"op":"create"})").op, Operation::Create);
    const Request set =
        parsed(R"({"id":"a","op":"set","object":2,"member":"networkName","args":["Demo"]})");
    EXPECT_EQ(set.op, Operation::Set);
    EXPECT_EQ(set.id, QJsonValue(QStringLiteral("a")));
    EXPECT_EQ(set.object, 2);
    EXPECT_EQ(set.member, QStringLiteral("networkName"));
    EXPECT_EQ(set.args, QJsonArray{QStringLiteral("Demo")});
    EXPECT_EQ(parsed(R"({"op":"get","object":1,"member":"Name"})").args, QJsonArray());
    EXPECT_EQ(parsed(R"({"op":"release","object":7})").object, 7);
    EXPECT_TRUE(
        parsed(R"({"op":"call","object":1,"member":"SendCommand","args":[13,7,"x"]})").id.isNull());
}

TEST(AutomationRequests, RejectWhatIsNoRequestAndKeepTheId) {
    EXPECT_EQ(rejected("not json").error.number(), InvalidRequest);
    EXPECT_EQ(rejected("[1,2]").error.number(), InvalidRequest);
    EXPECT_EQ(rejected("\xff\xfe{}").error.number(), InvalidRequest);
    const ParseFailure unknownOp = rejected(R"({"id":9,"op":"destroy","object":1})");
    EXPECT_EQ(unknownOp.id, QJsonValue(9));
    EXPECT_TRUE(unknownOp.error.description().contains(QStringLiteral("destroy")));
    EXPECT_EQ(rejected(R"({"id":3,"op":"get","member":"Name"})").id, QJsonValue(3));
    EXPECT_EQ(rejected(R"({"op":"get","object":1.5,"member":"Name"})").error.number(),
              InvalidRequest);
    EXPECT_EQ(rejected(R"({"op":"get","object":0,"member":"Name"})").error.number(),
              InvalidRequest);
    EXPECT_EQ(rejected(R"({"op":"get","object":"1","member":"Name"})").error.number(),
              InvalidRequest);
    EXPECT_EQ(rejected(R"({"op":"get","object":1})").error.number(), InvalidRequest);
    EXPECT_EQ(rejected(R"({"op":"set","object":1,"member":"Visible","args":true})").error.number(),
              InvalidRequest);
    EXPECT_EQ(rejected(QByteArray(5000, '[')).error.source(), TransportSource);
}

TEST(AutomationReplies, CarryResultOrErrorOnOneLine) {
    const QJsonObject result = replyObject(formatResult(4, QStringLiteral("line\nbreak")));
    EXPECT_EQ(result.value("id"), QJsonValue(4));
    EXPECT_EQ(result.value("result"), QJsonValue(QStringLiteral("line\nbreak")));

    const Error error(Error::LnsErrorBase + 4, QStringLiteral("Zentaro"),
                      QStringLiteral("Not found"));
    const QJsonObject failure =
        replyObject(formatError(QJsonValue::Null, error))["error"].toObject();
    EXPECT_EQ(failure.value("number").toInt(), Error::LnsErrorBase + 4);
    EXPECT_EQ(failure.value("source").toString(), QStringLiteral("Zentaro"));
    EXPECT_EQ(failure.value("description").toString(), QStringLiteral("Not found"));
}

TEST(AutomationReplies, TravelBackToTheHost) {
    const Error error(20006, QStringLiteral("Zentaro"),
                      QStringLiteral("Cannot open the network X"));
    const Reply failed = parseReply(formatError(1, error));
    ASSERT_TRUE(failed.error.has_value());
    EXPECT_EQ(failed.error->number(), 20006);
    EXPECT_EQ(failed.error->description(), QStringLiteral("Cannot open the network X"));

    const Reply done = parseReply(formatResult(2, QJsonValue::Null));
    EXPECT_FALSE(done.error.has_value());
    EXPECT_TRUE(done.result.isNull());
    EXPECT_TRUE(parseReply("garbage").error.has_value());
}

TEST(AutomationReplies, RequestsRoundTrip) {
    Request request;
    request.id = 5;
    request.op = Operation::Call;
    request.object = 3;
    request.member = QStringLiteral("SendCommand");
    request.args = QJsonArray{13, 7, QStringLiteral("Net/Sys/Sub/Dev")};
    const Request back = parsed(formatRequest(request).constData());
    EXPECT_EQ(back.op, Operation::Call);
    EXPECT_EQ(back.object, 3);
    EXPECT_EQ(back.args, request.args);
}

std::vector<AutomationLineReader::Line> drain(AutomationLineReader& reader) {
    std::vector<AutomationLineReader::Line> lines;
    while (reader.hasLine())
        lines.push_back(reader.takeLine());
    return lines;
}

TEST(AutomationLines, JoinPiecesAndSplitAtLineEnds) {
    AutomationLineReader reader(100);
    reader.feed("{\"a\":");
    EXPECT_FALSE(reader.hasLine());
    reader.feed("1}\r\n{}\n\nlast");
    auto lines = drain(reader);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, QByteArray("{\"a\":1}"));
    EXPECT_EQ(lines[1].text, QByteArray("{}"));
    EXPECT_TRUE(lines[2].text.isEmpty());
    reader.finish();
    lines = drain(reader);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, QByteArray("last"));
}

TEST(AutomationLines, DropAnOverlongLineAndGoOn) {
    AutomationLineReader reader(10);
    reader.feed("0123456789\n");
    reader.feed("0123456");
    reader.feed("789A");
    reader.feed(QByteArray(1000, 'x'));
    reader.feed("yz\nok\n");
    const auto lines = drain(reader);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_FALSE(lines[0].tooLong);
    EXPECT_TRUE(lines[1].tooLong);
    EXPECT_TRUE(lines[1].text.isEmpty());
    EXPECT_FALSE(lines[2].tooLong);
    EXPECT_EQ(lines[2].text, QByteArray("ok"));
}

TEST(AutomationLines, ReportAnOverlongLastLineAtTheEnd) {
    AutomationLineReader reader(4);
    reader.feed("abcdef");
    EXPECT_FALSE(reader.hasLine());
    reader.finish();
    const auto lines = drain(reader);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].tooLong);
}

} // namespace
