#include "schema.h"

#include "errors.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

int TableDef::indexOf(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).name == column)
            return i;
    return -1;
}

QStringList TableDef::columnNames() const
{
    QStringList names;
    names.reserve(columns.size());
    for (const ColumnDef &c : columns)
        names << c.name;
    return names;
}

QStringList permissionColumns()
{
    return {u"添加学生"_s,     u"修改学生"_s,     u"删除学生"_s,     u"添加老师"_s,     u"修改老师"_s,
            u"删除老师"_s,     u"学生查询"_s,     u"老师查询"_s,     u"学生打印"_s,     u"老师打印"_s,
            u"学生联系方式"_s, u"老师联系方式"_s, u"添加教学记录"_s, u"修改教学记录"_s, u"删除教学记录"_s,
            u"课程设置"_s,     u"职称设置"_s,     u"专业设置"_s,     u"年级设置"_s,     u"推广员设置"_s,
            u"顾问设置"_s,     u"参数设置"_s,     u"管理员设置"_s,   u"数据备份"_s,     u"数据还原"_s};
}

static QList<TableDef> buildTables()
{
    using K = ColumnKind;
    QList<TableDef> t;

    t << TableDef{u"客户资料表"_s,
                  {{u"编号"_s, K::Digits},        {u"学生姓名"_s, K::Text},      {u"性别"_s, K::Text},
                   {u"学校"_s, K::Text},          {u"年级"_s, K::ListText},      {u"爱好"_s, K::Text},
                   {u"登记日期"_s, K::Date},      {u"父亲姓名"_s, K::Text},      {u"父亲文化程度"_s, K::ListText},
                   {u"母亲姓名"_s, K::Text},      {u"母亲文化程度"_s, K::ListText}, {u"联系电话"_s, K::Digits},
                   {u"手机号码"_s, K::Digits},    {u"家庭住址"_s, K::Text},      {u"辅导科目"_s, K::Text},
                   {u"辅导时间"_s, K::Memo},      {u"学生成绩"_s, K::Memo},      {u"客户要求"_s, K::Memo},
                   {u"老师要求"_s, K::Text},      {u"价格要求"_s, K::ListText},  {u"协议"_s, K::Text},
                   {u"费用"_s, K::Currency},      {u"资料"_s, K::Text},          {u"客户服务记录"_s, K::Memo},
                   {u"推广员"_s, K::ListText},    {u"顾问"_s, K::ListText}}};

    TableDef teachers{u"员工表"_s,
                      {{u"编号"_s, K::Digits},       {u"姓名"_s, K::Text},         {u"性别"_s, K::Text},
                       {u"籍贯"_s, K::ListText},     {u"出生年月"_s, K::Date},     {u"院校"_s, K::Text},
                       {u"年级"_s, K::ListText},     {u"专业"_s, K::ListText},     {u"曾得奖励"_s, K::Text},
                       {u"爱好"_s, K::Text},         {u"身份证号"_s, K::Digits},   {u"家庭住址"_s, K::Text},
                       {u"家庭电话"_s, K::Digits},   {u"现居地址"_s, K::Text},     {u"现居电话"_s, K::Digits},
                       {u"手机"_s, K::Digits},       {u"电子邮件"_s, K::Text},     {u"QQ号码"_s, K::Digits},
                       {u"擅长科目"_s, K::Text},     {u"可以教授的对象"_s, K::Memo}, {u"可教学时间"_s, K::Memo},
                       {u"个人简历"_s, K::Memo},     {u"备注"_s, K::Memo},         {u"面试时间"_s, K::Date},
                       {u"面试官"_s, K::Text},       {u"得分"_s, K::ListText},     {u"登记日期"_s, K::Date},
                       {u"评价"_s, K::Memo}}};
    for (int m = 1; m <= 3; ++m) {
        const QString p = u"成员"_s + QString::number(m);
        teachers.columns << ColumnDef{p + u"称呼"_s, K::ListText} << ColumnDef{p + u"单位"_s, K::Text}
                         << ColumnDef{p + u"职称"_s, K::ListText} << ColumnDef{p + u"单位电话"_s, K::Digits};
    }
    t << teachers;

    t << TableDef{u"授课记录"_s,
                  {{u"学生编号"_s, K::Digits}, {u"老师编号"_s, K::Digits}, {u"学生姓名"_s, K::Text},
                   {u"学生联系电话"_s, K::Digits}, {u"老师姓名"_s, K::Text}, {u"老师联系电话"_s, K::Digits},
                   {u"授课科目"_s, K::ListText}, {u"授课时间"_s, K::Text}, {u"首次时间"_s, K::Date},
                   {u"授课次数"_s, K::Digits}}};

    t << TableDef{u"计数器"_s, {{u"编号"_s, K::Text}, {u"值"_s, K::Integer}}};

    TableDef users{u"用户"_s, {{u"用户名"_s, K::Text}, {u"密码"_s, K::Text}}};
    for (const QString &p : permissionColumns())
        users.columns << ColumnDef{p, K::YesNo};
    t << users;

    t << TableDef{u"公司信息"_s,
                  {{u"公司名称"_s, K::Text}, {u"公司地址"_s, K::Text}, {u"公司电话"_s, K::Digits},
                   {u"联系人"_s, K::Text}, {u"传真"_s, K::Digits}, {u"网站"_s, K::Text}, {u"公司简介"_s, K::Memo}}};

    t << TableDef{u"学生年级"_s, {{u"学生年级"_s, K::Text}}};
    t << TableDef{u"员工年级"_s, {{u"年级"_s, K::Text}}};
    t << TableDef{u"员工专业"_s, {{u"专业"_s, K::Text}}};
    t << TableDef{u"职称"_s, {{u"职称"_s, K::Text}}};
    t << TableDef{u"籍贯"_s, {{u"省份"_s, K::Text}}};
    t << TableDef{u"课程"_s, {{u"名称"_s, K::Text}}};
    t << TableDef{u"授课对象"_s, {{u"对象"_s, K::Text}}};
    t << TableDef{u"推广员"_s, {{u"姓名"_s, K::Text}}};
    t << TableDef{u"顾问"_s, {{u"姓名"_s, K::Text}}};
    return t;
}

const QList<TableDef> &schemaTables()
{
    static const QList<TableDef> tables = buildTables();
    return tables;
}

const TableDef &tableDef(const QString &name)
{
    for (const TableDef &t : schemaTables())
        if (t.name == name)
            return t;
    throw DatabaseError(u"未知的数据表: "_s + name);
}

QStringList provinces()
{
    return {u"北京市"_s,   u"天津市"_s,   u"河北省"_s,   u"山西省"_s,         u"内蒙古自治区"_s,
            u"辽宁省"_s,   u"吉林省"_s,   u"黑龙江省"_s, u"上海市"_s,         u"江苏省"_s,
            u"浙江省"_s,   u"安徽省"_s,   u"福建省"_s,   u"江西省"_s,         u"山东省"_s,
            u"河南省"_s,   u"湖北省"_s,   u"湖南省"_s,   u"广东省"_s,         u"广西壮族自治区"_s,
            u"海南省"_s,   u"重庆市"_s,   u"四川省"_s,   u"贵州省"_s,         u"云南省"_s,
            u"西藏自治区"_s, u"陕西省"_s, u"甘肃省"_s,   u"青海省"_s,         u"宁夏回族自治区"_s,
            u"新疆维吾尔自治区"_s, u"香港特别行政区"_s, u"澳门特别行政区"_s, u"台湾省"_s};
}

QStringList educationLevels()
{
    return {u"小学"_s, u"初中"_s, u"高中"_s, u"中专"_s, u"大专"_s, u"本科"_s, u"硕士"_s, u"博士"_s, u"其他"_s};
}

QStringList priceLevels()
{
    QStringList l;
    for (int p = 5; p <= 50; p += 5)
        l << QString::number(p) + u"元/小时"_s;
    return l;
}

QStringList scoreGrades()
{
    return {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s};
}

QStringList familyRelations()
{
    return {u"爸爸"_s, u"妈妈"_s, u"爷爷"_s, u"奶奶"_s, u"哥哥"_s,
            u"姐姐"_s, u"弟弟"_s, u"妹妹"_s, u"叔叔"_s, u"阿姨"_s};
}

} // namespace tavimor
