#include "demodata.h"

#include "errors.h"
#include "schema.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor::demo {

QString Random::digits(int count)
{
    QString s(count, Qt::Uninitialized);
    for (int i = 0; i < count; ++i)
        s[i] = QChar(u'0' + below(10));
    return s;
}

namespace {

QStringList chars(const QString &text)
{
    QStringList out;
    for (QChar c : text)
        out << QString(c);
    return out;
}

const QStringList &maleChars()
{
    static const QStringList l = chars(u"伟强磊军洋勇杰涛明超辉刚鹏浩宇轩博文俊晨睿哲航昊然天一泽凯鑫志建国华斌峰龙"
                                       "林波东亮翔海平成毅嘉子豪铭诚阳旭帆坤健彬锐"_s);
    return l;
}

const QStringList &femaleChars()
{
    static const QStringList l = chars(u"芳娜敏静丽艳娟霞婷雪琳欣怡萱梓涵诗雨佳悦思嘉可馨妍晴颖瑶蕾丹倩玉萍红燕"
                                       "洁琪璐薇月慧楠婧雯茜语彤心"_s);
    return l;
}

const QStringList &hobbies()
{
    static const QStringList l{u"篮球"_s, u"足球"_s, u"绘画"_s, u"钢琴"_s, u"阅读"_s,   u"游泳"_s,  u"围棋"_s,
                               u"象棋"_s, u"舞蹈"_s, u"书法"_s, u"乒乓球"_s, u"羽毛球"_s, u"跑步"_s, u"唱歌"_s,
                               u"编程"_s, u"手工"_s, u"摄影"_s, u"航模"_s,   u"小提琴"_s, u"轮滑"_s};
    return l;
}

const QStringList &districts()
{
    static const QStringList l{u"东城区"_s, u"西城区"_s, u"朝阳区"_s, u"海淀区"_s, u"丰台区"_s, u"南山区"_s,
                               u"福田区"_s, u"天河区"_s, u"越秀区"_s, u"武侯区"_s, u"锦江区"_s, u"鼓楼区"_s,
                               u"玄武区"_s, u"江汉区"_s, u"雁塔区"_s, u"历下区"_s, u"和平区"_s, u"南岗区"_s,
                               u"岳麓区"_s, u"西湖区"_s};
    return l;
}

const QStringList &roads()
{
    static const QStringList l{u"人民路"_s, u"解放路"_s, u"中山路"_s, u"建设路"_s, u"和平路"_s, u"胜利路"_s,
                               u"文化路"_s, u"幸福路"_s, u"长江路"_s, u"黄河路"_s, u"新华路"_s, u"青年路"_s,
                               u"学府路"_s, u"光明街"_s, u"迎宾大道"_s, u"东风路"_s, u"南京路"_s, u"北京路"_s};
    return l;
}

const QStringList &estates()
{
    static const QStringList l{u"阳光花园"_s, u"幸福小区"_s, u"绿地家园"_s, u"书香苑"_s, u"金色家园"_s,
                               u"翠苑"_s,     u"锦绣华庭"_s, u"明珠花园"_s, u"滨江小区"_s, u"教师新村"_s,
                               u"紫荆苑"_s,   u"桂花园"_s};
    return l;
}

const QStringList &colleges()
{
    static const QStringList l{u"北京大学"_s,     u"清华大学"_s,     u"复旦大学"_s,     u"南京大学"_s,
                               u"武汉大学"_s,     u"中山大学"_s,     u"四川大学"_s,     u"浙江大学"_s,
                               u"北京师范大学"_s, u"华东师范大学"_s, u"华中师范大学"_s, u"西南大学"_s,
                               u"山东大学"_s,     u"吉林大学"_s,     u"湖南师范大学"_s, u"陕西师范大学"_s,
                               u"首都师范大学"_s, u"南开大学"_s,     u"厦门大学"_s,     u"同济大学"_s};
    return l;
}

const QStringList &awards()
{
    static const QStringList l{u"三好学生"_s,       u"一等奖学金"_s,           u"二等奖学金"_s,
                               u"优秀学生干部"_s,   u"全国大学生数学竞赛二等奖"_s, u"英语演讲比赛三等奖"_s,
                               u"优秀毕业生"_s,     u"国家励志奖学金"_s};
    return l;
}

const QStringList &teacherWishes()
{
    static const QStringList l{u"女老师"_s,         u"男老师"_s,        u"有经验的大学生"_s, u"师范类专业"_s,
                               u"有耐心"_s,         u"重点大学在读"_s,  u"能长期辅导"_s,     u"在职教师"_s};
    return l;
}

const QStringList &clientWishes()
{
    static const QStringList l{u"希望提高数学成绩，每周两次。"_s,
                               u"孩子基础较差，请老师多些耐心。"_s,
                               u"准备中考，需要系统复习。"_s,
                               u"准备高考，重点辅导理科。"_s,
                               u"希望培养学习习惯，检查作业。"_s,
                               u"周末上课，每次两小时。"_s,
                               u"英语口语需要加强。"_s};
    return l;
}

const QStringList &serviceNotes()
{
    static const QStringList l{u"已电话回访，家长满意。"_s, u"已安排试讲。"_s, u"家长要求更换老师，已处理。"_s,
                               u"续费一学期。"_s,           u"暂停辅导，假期后再联系。"_s};
    return l;
}

const QStringList &assessments()
{
    static const QStringList l{u"讲解清楚，有耐心。"_s, u"表达能力强，责任心强。"_s, u"基础扎实，经验稍欠。"_s,
                               u"性格开朗，学生喜欢。"_s, u"守时可靠。"_s};
    return l;
}

const QStringList &remarks()
{
    static const QStringList l{u"只能周末上课"_s, u"有自行车，可到较远地区"_s, u"暑假回家"_s, u"可带小班"_s};
    return l;
}

const QStringList &idRegions()
{
    static const QStringList l{u"110105"_s, u"310104"_s, u"440106"_s, u"510107"_s, u"420106"_s, u"320102"_s,
                               u"610113"_s, u"370102"_s, u"430104"_s, u"330106"_s, u"210102"_s, u"230103"_s};
    return l;
}

const QStringList &mobilePrefixes()
{
    static const QStringList l{u"130"_s, u"131"_s, u"132"_s, u"133"_s, u"135"_s, u"136"_s, u"137"_s,
                               u"138"_s, u"139"_s, u"150"_s, u"151"_s, u"152"_s, u"158"_s, u"159"_s,
                               u"177"_s, u"180"_s, u"186"_s, u"187"_s, u"188"_s, u"189"_s};
    return l;
}

const QStringList &areaCodes()
{
    static const QStringList l{u"010"_s, u"021"_s, u"020"_s, u"028"_s, u"027"_s, u"025"_s,
                               u"029"_s, u"0531"_s, u"0731"_s, u"0571"_s, u"024"_s, u"0451"_s};
    return l;
}

const QStringList &mailHosts()
{
    static const QStringList l{u"@qq.com"_s, u"@163.com"_s, u"@126.com"_s, u"@sina.com"_s};
    return l;
}

const QStringList &scoreWeights()
{
    // Most interviews end with B or C.
    static const QStringList l{u"A"_s, u"B"_s, u"B"_s, u"B"_s, u"C"_s, u"C"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s};
    return l;
}

// The time-slot texts the time pop-up builds: day, start, "至", end.
QStringList timeSlots()
{
    const QStringList days{u"星期天"_s, u"星期一"_s, u"星期二"_s, u"星期三"_s,
                           u"星期四"_s, u"星期五"_s, u"星期六"_s};
    const QStringList hours{u"早上5：00"_s, u"早上6：00"_s, u"上午7：00"_s,  u"上午8：00"_s,  u"上午9：00"_s,
                            u"上午10：00"_s, u"上午11：00"_s, u"中午12：00"_s, u"下午1：00"_s,  u"下午2：00"_s,
                            u"下午3：00"_s,  u"下午4：00"_s,  u"下午5：00"_s,  u"下午6：00"_s,  u"晚上7：00"_s,
                            u"晚上8：00"_s,  u"晚上9：00"_s,  u"晚上10：00"_s, u"晚上11：00"_s, u"晚上12：00"_s};
    QStringList result;
    for (const QString &d : days) {
        const bool weekend = d == u"星期天"_s || d == u"星期六"_s;
        // Weekdays after school, weekends all day; lessons of one to three hours.
        for (int start = weekend ? 3 : 12; start <= 16; ++start)
            for (int len = 1; len <= 3 && start + len < hours.size(); ++len)
                result << d + hours.at(start) + u"至"_s + hours.at(start + len);
    }
    return result;
}

QStringList schools(int kind)
{
    const QStringList places{u"实验"_s, u"育才"_s, u"育英"_s, u"师大附属"_s, u"外国语"_s, u"东城"_s,
                             u"西城"_s, u"光明"_s, u"红旗"_s, u"新华"_s,     u"朝阳"_s, u"长江"_s};
    const QStringList ordinals{u"第一"_s, u"第二"_s, u"第三"_s, u"第五"_s, u"第八"_s, u"第十二"_s, u"第二十"_s};
    static const QString suffix[4] = {u"幼儿园"_s, u"小学"_s, u"中学"_s, u"高级中学"_s};
    QStringList out;
    for (const QString &p : places)
        out << p + suffix[kind];
    for (const QString &district : districts().mid(0, 8))
        for (const QString &o : ordinals)
            out << district + o + suffix[kind];
    return out;
}

int schoolKind(const QString &grade)
{
    if (grade.contains(u"学前"_s) || grade.contains(u"幼"_s))
        return 0;
    if (grade.startsWith(u"初"_s))
        return 2;
    if (grade.startsWith(u"高"_s))
        return 3;
    return 1;
}

// The teacher columns in the order the generator writes them.
const QStringList &teacherColumns()
{
    static const QStringList l = [] {
        QStringList c{u"编号"_s,     u"姓名"_s,     u"性别"_s,     u"籍贯"_s,       u"出生年月"_s,     u"院校"_s,
                      u"年级"_s,     u"专业"_s,     u"曾得奖励"_s, u"爱好"_s,       u"身份证号"_s,     u"家庭住址"_s,
                      u"家庭电话"_s, u"现居地址"_s, u"现居电话"_s, u"手机"_s,       u"电子邮件"_s,     u"QQ号码"_s,
                      u"擅长科目"_s, u"可以教授的对象"_s, u"可教学时间"_s, u"个人简历"_s, u"备注"_s,
                      u"面试时间"_s, u"面试官"_s,   u"得分"_s,     u"登记日期"_s,   u"评价"_s};
        for (int m = 1; m <= 3; ++m) {
            const QString p = u"成员"_s + QString::number(m);
            c << p + u"称呼"_s << p + u"单位"_s << p + u"职称"_s << p + u"单位电话"_s;
        }
        return c;
    }();
    return l;
}

const QStringList &studentColumns()
{
    static const QStringList l{u"编号"_s,     u"学生姓名"_s, u"性别"_s,     u"学校"_s,     u"年级"_s,
                               u"爱好"_s,     u"登记日期"_s, u"父亲姓名"_s, u"父亲文化程度"_s, u"母亲姓名"_s,
                               u"母亲文化程度"_s, u"联系电话"_s, u"手机号码"_s, u"家庭住址"_s, u"辅导科目"_s,
                               u"辅导时间"_s, u"学生成绩"_s, u"客户要求"_s, u"老师要求"_s, u"价格要求"_s,
                               u"协议"_s,     u"费用"_s,     u"资料"_s,     u"客户服务记录"_s, u"推广员"_s,
                               u"顾问"_s};
    return l;
}

// Where each column of `order` stands in the table's stored order.
QList<int> columnMap(const QString &table, const QStringList &order)
{
    const TableDef &t = tableDef(table);
    QList<int> map;
    for (const QString &c : order) {
        const int i = t.indexOf(c);
        if (i < 0)
            throw DatabaseError(u"数据表“%1”没有列“%2”"_s.arg(table, c));
        map << i;
    }
    return map;
}

// Writes values in a fixed order into the right places of a row of the table.
class RowWriter
{
public:
    RowWriter(const QList<int> &map, QVariant *row, qsizetype columns) : m_row(row), m_map(map)
    {
        for (qsizetype i = 0; i < columns; ++i)
            m_row[i] = QVariant();
    }
    RowWriter &operator<<(QVariant v)
    {
        m_row[m_map.at(m_next++)] = std::move(v);
        return *this;
    }

private:
    QVariant *m_row;
    const QList<int> &m_map;
    int m_next = 0;
};

const QStringList &parentEducation()
{
    static const QStringList l = educationLevels().mid(2); // parents of today's pupils: 高中 and above
    return l;
}

const QStringList &prices()
{
    static const QStringList l = priceLevels();
    return l;
}

const QStringList &relations()
{
    static const QStringList l = familyRelations();
    return l;
}

} // namespace

const QStringList &Generator::surnames()
{
    static const QStringList l = [] {
        QStringList s = chars(u"王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡"
                              "余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷"
                              "侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤"_s);
        s << u"欧阳"_s << u"司马"_s << u"诸葛"_s << u"上官"_s;
        return s;
    }();
    return l;
}

Generator::Generator(quint64 seed, Lists lists, Engine engine)
    : m_random(seed), m_lists(std::move(lists)), m_engine(engine), m_slots(timeSlots()),
      m_studentMap(columnMap(u"客户资料表"_s, studentColumns())),
      m_teacherMap(columnMap(u"员工表"_s, teacherColumns())),
      m_studentColumns(tableDef(u"客户资料表"_s).columns.size()), m_teacherColumns(tableDef(u"员工表"_s).columns.size())
{
    for (int k = 0; k < 4; ++k)
        m_schools[k] = schools(k);
    const QStringList kinds{u"有限公司"_s, u"医院"_s, u"中学"_s, u"银行支行"_s, u"研究所"_s, u"商场"_s};
    const QStringList names{u"华信"_s, u"长城"_s, u"东方"_s, u"新世纪"_s, u"中信"_s, u"人民"_s, u"光华"_s, u"金桥"_s};
    for (const QString &n : names)
        for (const QString &k : kinds)
            m_employers << n + k;
    m_employers << u"市政府"_s << u"区教育局"_s << u"个体经营"_s << u"自由职业"_s;
}

QString Generator::givenName(bool male)
{
    const QStringList &pool = male ? maleChars() : femaleChars();
    if (m_random.percent(30))
        return m_random.pick(pool);
    return m_random.pick(pool) + m_random.pick(pool);
}

QString Generator::personName()
{
    return fullName(m_random.percent(50));
}

QString Generator::landline()
{
    return m_random.pick(areaCodes()) + QChar(u'2' + m_random.below(7)) + m_random.digits(7);
}

QString Generator::mobile()
{
    return m_random.pick(mobilePrefixes()) + m_random.digits(8);
}

QString Generator::address()
{
    const QString &district = m_random.pick(districts());
    const QString &road = m_random.pick(roads());
    if (m_random.percent(60))
        return district + road + QString::number(m_random.between(1, 300)) + u"号"_s + m_random.pick(estates()) +
               QString::number(m_random.between(1, 30)) + u"栋"_s + QString::number(m_random.between(1, 6)) +
               u"单元"_s + QString::number(m_random.between(1, 30) * 100 + m_random.between(1, 4)) + u"室"_s;
    return district + road + QString::number(m_random.between(1, 300)) + u"号"_s +
           QString::number(m_random.between(1, 8)) + u"楼"_s;
}

QString Generator::subjects(int most)
{
    return lines(m_lists.subjects, most, u"|"_s);
}

// One to `most` different entries of the pool joined by the separator.
QString Generator::lines(const QStringList &pool, int most, const QString &separator)
{
    if (pool.isEmpty())
        return {};
    const int n = std::min<int>(m_random.between(1, most), int(pool.size()));
    int chosen[8];
    QString out;
    for (int i = 0; i < n; ++i) {
        int pick;
        bool again;
        do {
            pick = m_random.below(int(pool.size()));
            again = false;
            for (int j = 0; j < i; ++j)
                again = again || chosen[j] == pick;
        } while (again);
        chosen[i] = pick;
        if (i)
            out += separator;
        out += pool.at(pick);
    }
    return out;
}

QDate Generator::day(const QDate &from, const QDate &to)
{
    return from.addDays(m_random.below(int(from.daysTo(to)) + 1));
}

QVariant Generator::date(const QDate &d) const
{
    if (m_engine == Engine::PostgreSQL)
        return d;
    return d.toString(Qt::ISODate);
}

void Generator::student(qint64 number, QVariant *row)
{
    Random &r = m_random;
    const bool male = r.percent(50);
    const QString surname = r.pickCommon(surnames());
    const QString &grade = r.pick(m_lists.studentGrades);
    const QDate registered = day(QDate(2005, 1, 1), QDate(2024, 12, 31));
    const QString &price = r.pick(prices());
    RowWriter w(m_studentMap, row, m_studentColumns);
    w << QString::number(number) << QString(surname + givenName(male)) << (male ? u"男"_s : u"女"_s)
      << r.pick(m_schools[schoolKind(grade)]) << grade << lines(hobbies(), 2, u"、"_s) << date(registered)
      << QString(surname + givenName(true)) << r.pick(parentEducation())
      << fullName(false) << r.pick(parentEducation()) << landline()
      << (r.percent(85) ? QVariant(mobile()) : QVariant()) << address() << subjects(3) << lines(m_slots, 3, u"\n"_s)
      << (r.percent(60) ? QVariant(r.pick(m_lists.subjects) + QString::number(r.between(45, 99)) + u"分"_s)
                        : QVariant())
      << (r.percent(70) ? QVariant(r.pick(clientWishes())) : QVariant())
      << (r.percent(50) ? QVariant(r.pick(teacherWishes())) : QVariant()) << price
      << (r.percent(60) ? QVariant(u"已签"_s) : QVariant(u"未签"_s))
      << (r.percent(70) ? QVariant(double(r.between(4, 60) * 50)) : QVariant())
      << (r.percent(30) ? QVariant(u"已交成绩单"_s) : QVariant())
      << (r.percent(40) ? QVariant(r.pick(serviceNotes())) : QVariant())
      << (m_lists.promoters.isEmpty() ? QVariant() : QVariant(r.pick(m_lists.promoters)))
      << (m_lists.consultants.isEmpty() ? QVariant() : QVariant(r.pick(m_lists.consultants)));
}

void Generator::teacher(qint64 number, QVariant *row)
{
    Random &r = m_random;
    const bool male = r.percent(45);
    const QDate registered = day(QDate(2005, 1, 1), QDate(2024, 12, 31));
    const QDate born = day(registered.addYears(-30), registered.addYears(-18));
    const QString &college = r.pick(colleges());
    const QString &major = r.pick(m_lists.majors);
    const QString qq = QString::number(r.between(1, 9)) + r.digits(r.between(5, 9));

    // An 18-digit identity number carrying the birth date and sex; its check digit is kept a
    // digit (a number whose check would be "X" takes another sequence number).
    QString id;
    for (;;) {
        const int seq = r.between(0, 49) * 2 + (male ? 1 : 0);
        id = r.pick(idRegions()) + born.toString(u"yyyyMMdd"_s) + QString::number(r.between(1, 9)) +
             QString::number(seq).rightJustified(2, u'0');
        static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
        int sum = 0;
        for (int i = 0; i < 17; ++i)
            sum += (id.at(i).unicode() - u'0') * weights[i];
        static const char checks[] = "10X98765432";
        const char check = checks[sum % 11];
        if (check != 'X') {
            id += QChar(u'0' + (check - '0'));
            break;
        }
    }

    RowWriter w(m_teacherMap, row, m_teacherColumns);
    w << QString::number(number) << fullName(male) << (male ? u"男"_s : u"女"_s) << r.pick(m_lists.provinces)
      << date(born) << college << r.pick(m_lists.teacherGrades) << major
      << (r.percent(40) ? QVariant(r.pick(awards())) : QVariant()) << lines(hobbies(), 2, u"、"_s) << id
      << address() << (r.percent(50) ? QVariant(landline()) : QVariant()) << address() << landline() << mobile()
      << (r.percent(70) ? QVariant(qq + r.pick(mailHosts())) : QVariant()) << qq << subjects(3)
      << lines(m_lists.targets, 3, u"\n"_s) << lines(m_slots, 4, u"\n"_s)
      << QString(QString::number(born.year() + 18) + u"年9月考入"_s + college + major + u"专业。\n曾做家教"_s +
                 QString::number(r.between(0, 6)) + u"年，辅导过"_s + QString::number(r.between(0, 20)) +
                 u"名学生。"_s)
      << (r.percent(20) ? QVariant(r.pick(remarks())) : QVariant()) << date(registered)
      << (m_lists.consultants.isEmpty() ? QVariant() : QVariant(r.pick(m_lists.consultants)))
      << r.pick(scoreWeights()) << date(registered) << r.pick(assessments());

    // One to three family members, each with a different relation.
    const int members = r.between(1, 3);
    int used[3] = {-1, -1, -1};
    for (int m = 0; m < 3; ++m) {
        if (m >= members) {
            w << QVariant() << QVariant() << QVariant() << QVariant();
            continue;
        }
        int rel;
        do
            rel = r.below(int(relations().size()));
        while (rel == used[0] || rel == used[1]);
        used[m] = rel;
        w << relations().at(rel) << r.pick(m_employers)
          << (m_lists.titles.isEmpty() ? QVariant() : QVariant(r.pick(m_lists.titles))) << landline();
    }
}

void Generator::lesson(QVariant *row)
{
    Random &r = m_random;
    row[0] = r.pick(m_lists.subjects);
    // The time pop-up appends slots to a lesson's times without a separator.
    row[1] = lines(m_slots, 2, QString());
    row[2] = date(day(QDate(2005, 1, 1), QDate(2024, 12, 31)));
    row[3] = QString::number(r.between(1, 120));
}

} // namespace tavimor::demo
