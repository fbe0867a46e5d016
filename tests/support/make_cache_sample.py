#!/usr/bin/env python3
"""Writes tests/data/cache-sample/: the cache folder of a Korean account as the
Calendar v3 and Tasks v1 APIs answer, each answer stored in the cache text form
(cut after every ">", pieces trimmed, CP949 with "?" for what it lacks, CR LF).

Run it again after changing the answers below; the tests read the output."""

import json
import os
import sys

ACCOUNT = "minji.kim@gmail.com"
PRIMARY = ACCOUNT
FAMILY = "c_1f8d4e6a9b2c3d5e7f0a1b2c3d4e5f6a@group.calendar.google.com"
WORK = "c_7a3e9b1d5f2c8e4a6b0d2f4e6a8c0e2b@group.calendar.google.com"
HOLIDAY = "ko.south_korea#holiday@group.v.calendar.google.com"
CONTACTS = "addressbook#contacts@group.v.calendar.google.com"
DEFAULT_LIST = "MDk4NzY1NDMyMTA5ODc2NTQzMjE6MDow"
SHOPPING_LIST = "ZkxxR1B4cTNCX2VKX0VvUg"

CAL_COLOURS = ["#ac725e", "#d06b64", "#f83a22", "#fa573c", "#ff7537", "#ffad46", "#42d692",
               "#16a765", "#7bd148", "#b3dc6c", "#fbe983", "#fad165", "#92e1c0", "#9fe1e7",
               "#9fc6e7", "#4986e7", "#9a9cff", "#b99aff", "#c2c2c2", "#cabdbf", "#cca6ac",
               "#f691b2", "#cd74e6", "#a47ae2"]
EVENT_COLOURS = ["#a4bdfc", "#7ae7bf", "#dbadff", "#ff887c", "#fbd75b", "#ffb878", "#46d6db",
                 "#e1e1e1", "#5484ed", "#51b749", "#dc2127"]


def cache_text(answer: str) -> bytes:
    data = answer.encode("utf-8")
    out = bytearray()
    begin = 0
    while begin < len(data):
        gt = data.find(b">", begin)
        end = len(data) if gt < 0 else gt + 1
        piece = data[begin:end].decode("utf-8").strip("".join(chr(c) for c in range(33)))
        if piece.startswith("\ufeff"):
            piece = piece[1:]
        cp = piece.encode("cp949", errors="replace")
        if cp.endswith(b"|"):
            cp = cp[:-1]
        cp = cp.replace(b"\r\n", b"\n").replace(b"\r", b"\n").replace(b"\n", b"\r\n")
        out += cp + b"\r\n"
        begin = end
    return bytes(out)


def etag(n):
    return '"%d"' % (3471000000000000 + n * 1717)


def calendar_entry(n, cid, summary, colour_id, extra=None):
    entry = {
        "kind": "calendar#calendarListEntry",
        "etag": etag(n),
        "id": cid,
        "summary": summary,
        "timeZone": "Asia/Seoul",
        "colorId": str(colour_id),
        "backgroundColor": CAL_COLOURS[colour_id - 1],
        "foregroundColor": "#000000",
        "selected": True,
        "accessRole": "owner",
        "defaultReminders": [],
        "conferenceProperties": {"allowedConferenceSolutionTypes": ["hangoutsMeet"]},
    }
    entry.update(extra or {})
    return entry


def calendar_list():
    return {
        "kind": "calendar#calendarList",
        "etag": etag(1),
        "nextSyncToken": "CMiA8Pmz1IoDEhNtaW5qaS5raW1AZ21haWwuY29t",
        "items": [
            calendar_entry(2, PRIMARY, ACCOUNT, 14, {
                "defaultReminders": [{"method": "popup", "minutes": 30}],
                "notificationSettings": {"notifications": [
                    {"type": "eventCreation", "method": "email"},
                    {"type": "eventChange", "method": "email"}]},
                "primary": True}),
            calendar_entry(3, FAMILY, "우리 가족", 22),
            calendar_entry(4, WORK, "회사 일정", 16, {"description": "팀 공유 캘린더 (읽기/쓰기)"}),
            calendar_entry(5, HOLIDAY, "대한민국의 휴일", 8, {
                "description": "대한민국의 공휴일", "accessRole": "reader"}),
            calendar_entry(6, CONTACTS, "주소록 친구의 생일 및 일정", 13, {
                "description": "Google 주소록에 등록된 사람들의 생일 및 기념일을 표시합니다.",
                "accessRole": "reader"}),
        ],
    }


def person(email, self_=False):
    p = {"email": email}
    if self_:
        p["self"] = True
    return p


def timed(dt, tz="Asia/Seoul"):
    return {"dateTime": dt, "timeZone": tz}


def event(n, cid, eid, summary, start, end, **fields):
    e = {
        "kind": "calendar#event",
        "etag": etag(100 + n),
        "id": eid,
        "status": "confirmed",
        "htmlLink": "https://www.google.com/calendar/event?eid=" + eid,
        "created": "2025-01-%02dT03:%02d:11.000Z" % (1 + n % 28, n % 60),
        "updated": "2025-02-%02dT08:%02d:45.512Z" % (1 + n % 28, n % 60),
    }
    if summary is not None:
        e["summary"] = summary
    for key in ("description", "location", "colorId"):
        if key in fields:
            e[key] = fields.pop(key)
    e["creator"] = person(ACCOUNT, True)
    e["organizer"] = person(cid, cid == PRIMARY)
    e["start"] = start
    e["end"] = end
    if "recurrence" in fields:
        e["recurrence"] = fields.pop("recurrence")
    e["iCalUID"] = eid + "@google.com"
    e["sequence"] = fields.pop("sequence", 0)
    if "attendees" in fields:
        e["attendees"] = fields.pop("attendees")
    e["reminders"] = fields.pop("reminders", {"useDefault": True})
    e["eventType"] = "default"
    e.update(fields)
    return e


def events_answer(cid, summary, items):
    return {
        "kind": "calendar#events",
        "etag": etag(50),
        "summary": summary,
        "description": "",
        "updated": "2025-03-02T09:15:27.114Z",
        "timeZone": "Asia/Seoul",
        "accessRole": "owner",
        "defaultReminders": [{"method": "popup", "minutes": 30}],
        "nextSyncToken": "CPDAlvWFyIoDEPDAlvWFyIoDGAUgzoXQ2AE=",
        "items": items,
    }


YOGA = "4kq1v0b9m2c7d8e3f5g6h7i8j9"


def primary_events():
    return [
        event(1, PRIMARY, "7hq2c9v1bn4m6k8j0l3p5r7t9v", "팀 주간 회의",
              timed("2025-03-10T10:00:00+09:00"), timed("2025-03-10T11:00:00+09:00"),
              location="본사 3층 대회의실",
              description="준비물: 노트북 > 충전기 > 발표 자료 🎉 잊지 말 것!",
              attendees=[{"email": "jihoon.park@example.co.kr", "responseStatus": "accepted"},
                         {"email": ACCOUNT, "self": True, "organizer": True,
                          "responseStatus": "accepted"}],
              reminders={"useDefault": False,
                         "overrides": [{"method": "popup", "minutes": 10},
                                       {"method": "email", "minutes": 60}]}),
        event(2, PRIMARY, "0s1t2u3v4a5b6c7d8e9f0g1h2i", "엄마 병원 예약",
              {"date": "2025-03-14"}, {"date": "2025-03-15"},
              location="서울대학교병원 본관", colorId="11"),
        event(3, PRIMARY, "5m6n7o8p9q0r1s2t3u4v5a6b7c", "요가 수업",
              timed("2025-03-04T19:30:00+09:00"), timed("2025-03-04T20:30:00+09:00"),
              recurrence=["EXDATE;TZID=Asia/Seoul:20250318T193000",
                          "RRULE:FREQ=WEEKLY;BYDAY=TU,TH"],
              location="필라테스앤요가 역삼점"),
        event(4, PRIMARY, YOGA, "영어 회화 스터디",
              timed("2025-03-05T07:00:00+09:00"), timed("2025-03-05T08:00:00+09:00"),
              recurrence=["RRULE:FREQ=WEEKLY;BYDAY=WE"], colorId="9"),
        event(5, PRIMARY, YOGA + "_20250326T220000Z", None,
              timed("2025-03-27T07:00:00+09:00"), timed("2025-03-27T08:00:00+09:00"),
              status="cancelled", recurringEventId=YOGA,
              originalStartTime=timed("2025-03-26T07:00:00+09:00")),
        event(6, PRIMARY, YOGA + "_20250402T220000Z", "영어 회화 스터디 (장소 변경)",
              timed("2025-04-04T07:30:00+09:00"), timed("2025-04-04T08:30:00+09:00"),
              recurringEventId=YOGA, originalStartTime=timed("2025-04-03T07:00:00+09:00"),
              location="강남역 스터디카페", sequence=1),
        event(7, PRIMARY, "9d8c7b6a5v4u3t2s1r0q9p8o7n", "카드 결제일",
              {"date": "2025-03-14"}, {"date": "2025-03-15"},
              recurrence=["RRULE:FREQ=MONTHLY;BYMONTHDAY=14"], colorId="5"),
        event(8, PRIMARY, "2b4d6f8h0j2l4n6p8r0t2v4a6c", "결혼기념일",
              {"date": "2025-06-07"}, {"date": "2025-06-08"},
              recurrence=["RRULE:FREQ=YEARLY"], colorId="4"),
        event(9, PRIMARY, "1a3c5e7g9i1k3m5o7q9s1u3a5c", "비타민 챙기기",
              timed("2025-03-01T08:00:00+09:00"), timed("2025-03-01T08:10:00+09:00"),
              recurrence=["RRULE:FREQ=DAILY;COUNT=30"]),
        event(10, PRIMARY, "3e5g7i9k1m3o5q7s9u1a3c5e7g", "아버지 생신 (음력 8월 15일)",
              {"date": "2025-10-06"}, {"date": "2025-10-07"}, colorId="3"),
        event(11, PRIMARY, "4f6h8j0l2n4p6r8t0v2b4d6f8h", "할머니 제사 (음력 1월 15일)",
              {"date": "2025-02-12"}, {"date": "2025-02-13"}),
        event(12, PRIMARY, "8u6s4q2o0m8k6i4g2e0c8a6u4s",
              "새예약메일 [쿠팡] 주문하신 상품이 발송되었습니다",
              timed("2025-03-02T14:03:00+09:00"), timed("2025-03-02T14:04:00+09:00"),
              reminders={"useDefault": False, "overrides": [{"method": "sms", "minutes": 0}]}),
        event(13, PRIMARY, "6k4i2g0e8c6a4u2s0q8o6m4k2i", "LA 지사 화상 회의",
              timed("2025-03-12T16:00:00-07:00", "America/Los_Angeles"),
              timed("2025-03-12T17:30:00-07:00", "America/Los_Angeles"),
              description="<b>안건</b> 1. 2분기 계획<br>2. 예산 | 일정"),
        event(14, PRIMARY, "ev7m2k9p4r1t6v3b8d5f0h7j2l", "제주도 가족 여행",
              {"date": "2025-05-03"}, {"date": "2025-05-06"}, colorId="10",
              location="제주특별자치도 서귀포시"),
    ]


def family_events():
    return [
        event(21, FAMILY, "fam1q2w3e4r5t6y7u8i9o0p1a2s", "가족 모임",
              timed("2025-03-01T18:00:00+09:00"), timed("2025-03-01T21:00:00+09:00"),
              recurrence=["RRULE:FREQ=MONTHLY;BYDAY=1SA"], location="할머니 댁"),
        event(22, FAMILY, "fam9o8i7u6y5t4r3e2w1q0a9s8d", "어린이날 선물 사기",
              {"date": "2025-05-03"}, {"date": "2025-05-04"}),
        event(23, FAMILY, "fam5t6y7u8i9o0p1a2s3d4f5g6h", "관리비 납부",
              {"date": "2025-03-25"}, {"date": "2025-03-26"},
              recurrence=["RRULE:FREQ=MONTHLY;BYMONTHDAY=25;UNTIL=20251231"]),
    ]


def work_events():
    return [
        event(31, WORK, "wrk0a1b2c3d4e5f6g7h8i9j0k1l", "분기 실적 보고",
              timed("2025-03-31T14:00:00+09:00"), timed("2025-03-31T16:00:00+09:00"),
              description="발표 순서 > 영업팀 > 개발팀"),
        event(32, WORK, "wrk2m3n4o5p6q7r8s9t0u1v2a3b", "출장: 부산 지사",
              timed("2025-04-07T09:00:00+09:00"), timed("2025-04-09T18:00:00+09:00"),
              location="부산광역시 해운대구"),
        event(33, WORK, "wrk4c5d6e7f8g9h0i1j2k3l4m5n", "격주 코드 리뷰",
              timed("2025-03-07T15:00:00+09:00"), timed("2025-03-07T16:00:00+09:00"),
              recurrence=["RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=FR"]),
    ]


def birthday(n, eid, name, year):
    e = event(40 + n, CONTACTS, eid, name + "님의 생일",
              {"date": "%d-07-21" % year}, {"date": "%d-07-22" % year})
    e["creator"] = {"email": CONTACTS, "displayName": "주소록 친구의 생일 및 일정"}
    e["organizer"] = {"email": CONTACTS, "displayName": "주소록 친구의 생일 및 일정",
                      "self": True}
    e["visibility"] = "public"
    e["transparency"] = "transparent"
    e["gadget"] = {"iconLink": "https://calendar.google.com/googlecalendar/images/cake.gif",
                   "preferences": {"goo.contactsEventType": "BIRTHDAY"}}
    return e


def contacts_events():
    return [
        birthday(1, "2024_BIRTHDAY_c7f3a1b2", "박서준", 2024),
        birthday(2, "2025_BIRTHDAY_c7f3a1b2", "박서준", 2025),
        birthday(3, "2026_BIRTHDAY_c7f3a1b2", "박서준", 2026),
        birthday(4, "2025_BIRTHDAY_d9e8f7a6", "이하은", 2025),
    ]


def task(n, list_id, tid, title, status, due=None, completed=None, notes=None):
    t = {
        "kind": "tasks#task",
        "id": tid,
        "etag": etag(200 + n),
        "title": title,
        "updated": "2025-03-0%dT02:11:09.000Z" % (1 + n % 8),
        "selfLink": "https://www.googleapis.com/tasks/v1/lists/%s/tasks/%s" % (list_id, tid),
        "position": "%020d" % n,
        "status": status,
    }
    if notes:
        t["notes"] = notes
    if due:
        t["due"] = due
    if completed:
        t["completed"] = completed
    t["links"] = []
    t["webViewLink"] = "https://tasks.google.com/task/" + tid
    return t


def task_lists():
    return {
        "kind": "tasks#taskLists",
        "etag": etag(300),
        "items": [
            {"kind": "tasks#taskList", "id": DEFAULT_LIST, "etag": etag(301),
             "title": "minji.kim의 목록", "updated": "2025-03-02T11:20:05.000Z",
             "selfLink": "https://www.googleapis.com/tasks/v1/users/@me/lists/" + DEFAULT_LIST},
            {"kind": "tasks#taskList", "id": SHOPPING_LIST, "etag": etag(302),
             "title": "장보기", "updated": "2025-02-27T06:41:52.000Z",
             "selfLink": "https://www.googleapis.com/tasks/v1/users/@me/lists/" + SHOPPING_LIST},
        ],
    }


def tasks_answer(items):
    return {"kind": "tasks#tasks", "etag": etag(310), "items": items}


def default_tasks():
    L = DEFAULT_LIST
    return [
        task(1, L, "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoxMDAw", "자동차 보험 갱신", "needsAction",
             due="2025-03-20T00:00:00.000Z", notes="보험사 두 곳 견적 비교 > 3월 15일까지"),
        task(2, L, "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoyMDAw", "연말정산 서류 제출", "completed",
             due="2025-02-14T00:00:00.000Z", completed="2025-02-12T05:12:44.000Z"),
        task(3, L, "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDozMDAw", "책장 정리하기", "needsAction"),
        task(4, L, "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDo0MDAw", "택배 반품 접수", "completed",
             completed="2025-03-01T09:30:00.000Z"),
    ]


def shopping_tasks():
    L = SHOPPING_LIST
    return [
        task(5, L, "c2hvcDE6MDoxMDAwMDAwMDAwMDAwMDAw", "우유, 달걀, 두부", "needsAction",
             due="2025-03-08T00:00:00.000Z"),
        task(6, L, "c2hvcDI6MDoyMDAwMDAwMDAwMDAwMDAw", "세탁 세제", "completed",
             completed="2025-03-03T12:00:00.000Z"),
    ]


def colours(which, table):
    return {which: {str(i + 1): {"background": c, "foreground": "#1d1d1d"}
                    for i, c in enumerate(table)}}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data", "cache-sample")
    os.makedirs(out, exist_ok=True)
    files = {
        "calendar.txt": calendar_list(),
        "tasklist.txt": task_lists(),
        "clr_calendar.txt": colours("calendar", CAL_COLOURS),
        "clr_event.txt": colours("event", EVENT_COLOURS),
        PRIMARY + ".txt": events_answer(PRIMARY, ACCOUNT, primary_events()),
        FAMILY + ".txt": events_answer(FAMILY, "우리 가족", family_events()),
        WORK + ".txt": events_answer(WORK, "회사 일정", work_events()),
        CONTACTS + ".txt": events_answer(CONTACTS, "주소록 친구의 생일 및 일정", contacts_events()),
        DEFAULT_LIST + ".txt": tasks_answer(default_tasks()),
        SHOPPING_LIST + ".txt": tasks_answer(shopping_tasks()),
    }
    for name, answer in files.items():
        # Google's answers are indented by one blank per level.
        text = json.dumps(answer, ensure_ascii=False, indent=1)
        with open(os.path.join(out, name), "wb") as f:
            f.write(cache_text(text))


if __name__ == "__main__":
    main()
