<?xml version="1.0" encoding="UTF-8"?>
<!-- The calibration record: the workshop's document for the vehicle's owner, one A4 page.
     The program passes the language as the parameter "lang" ("ru" or "en"). -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:exsl="http://exslt.org/common"
    exclude-result-prefixes="exsl">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>
  <xsl:param name="lang" select="'ru'"/>

  <xsl:variable name="labels-table">
    <l k="title" ru="ПРОТОКОЛ КАЛИБРОВКИ ТАХОГРАФА" en="TACHOGRAPH CALIBRATION RECORD"/>
    <l k="vehicle" ru="Транспортное средство" en="Vehicle"/>
    <l k="of" ru="от" en="of"/>
    <l k="workshop" ru="Мастерская" en="Workshop"/>
    <l k="phone" ru="Телефон" en="Phone"/>
    <l k="index" ru="Индекс" en="Postal code"/>
    <l k="owner" ru="Владелец транспортного средства" en="Vehicle owner"/>
    <l k="cname" ru="Владелец" en="Owner"/>
    <l k="address" ru="Адрес" en="Address"/>
    <l k="vin" ru="Идентификационный номер (VIN)" en="Vehicle identification number (VIN)"/>
    <l k="vnumber" ru="Регистрационный номер" en="Registration number"/>
    <l k="nation" ru="Страна регистрации" en="Country of registration"/>
    <l k="model" ru="Марка, модель" en="Make and model"/>
    <l k="calibration" ru="Параметры калибровки" en="Calibration values"/>
    <l k="purpose" ru="Цель калибровки" en="Purpose of calibration"/>
    <l k="constantW" ru="Характеристический коэффициент W" en="Characteristic coefficient W"/>
    <l k="constantK" ru="Постоянная тахографа K" en="Recording equipment constant K"/>
    <l k="tyreL" ru="Эффективная длина окружности шин L" en="Effective tyre circumference L"/>
    <l k="tyreS" ru="Размер шин" en="Tyre size"/>
    <l k="maxSpeed" ru="Разрешённая максимальная скорость" en="Authorised speed"/>
    <l k="odometer" ru="Показания одометра" en="Odometer reading"/>
    <l k="serial" ru="Заводской номер тахографа" en="Tachograph serial number"/>
    <l k="gsm" ru="Канал передачи данных GSM" en="GSM data link"/>
    <l k="imei" ru="IMEI модема" en="Modem IMEI"/>
    <l k="apn" ru="Точка доступа (APN)" en="Access point (APN)"/>
    <l k="login" ru="Имя пользователя" en="Login"/>
    <l k="host" ru="Сервер" en="Server"/>
    <l k="port" ru="Порт" en="Port"/>
    <l k="protocol" ru="Протокол" en="Protocol"/>
    <l k="period" ru="Период передачи" en="Transfer period"/>
    <l k="pulses" ru="имп/&#8288;км" en="pulses/&#8288;km"/>
    <l k="mm" ru="мм" en="mm"/>
    <l k="kmh" ru="км/&#8288;ч" en="km/&#8288;h"/>
    <l k="km" ru="км" en="km"/>
    <l k="date" ru="Дата калибровки" en="Date of calibration"/>
    <l k="technician" ru="Мастер" en="Technician"/>
    <l k="signature" ru="подпись" en="signature"/>
    <l k="name" ru="фамилия, инициалы" en="name"/>
    <l k="stamp" ru="М. П." en="Stamp"/>
    <l k="received" ru="Протокол получил" en="Received by"/>
  </xsl:variable>
  <xsl:variable name="labels" select="exsl:node-set($labels-table)/l"/>

  <xsl:template name="label">
    <xsl:param name="k"/>
    <xsl:variable name="entry" select="$labels[@k = $k]"/>
    <xsl:choose>
      <xsl:when test="$lang = 'en'"><xsl:value-of select="$entry/@en"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="$entry/@ru"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- "20260214" as "14.02.2026"; anything else as it stands. -->
  <xsl:template name="day">
    <xsl:param name="d"/>
    <xsl:choose>
      <xsl:when test="string-length($d) = 8 and translate($d, '0123456789', '') = ''">
        <xsl:value-of select="concat(substring($d, 7, 2), '.', substring($d, 5, 2), '.', substring($d, 1, 4))"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$d"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="row">
    <xsl:param name="k"/>
    <xsl:param name="value"/>
    <xsl:param name="unit" select="''"/>
    <tr>
      <td width="55%" style="border: 1px solid #808080; padding: 3px 6px; background-color: #f2f2f2;">
        <xsl:call-template name="label"><xsl:with-param name="k" select="$k"/></xsl:call-template>
      </td>
      <td style="border: 1px solid #808080; padding: 3px 6px;">
        <b><xsl:value-of select="$value"/></b>
        <xsl:if test="$unit != ''">
          <!-- A unit never stands alone at the start of a line. -->
          <xsl:text>&#160;</xsl:text>
          <xsl:call-template name="label"><xsl:with-param name="k" select="$unit"/></xsl:call-template>
        </xsl:if>
      </td>
    </tr>
  </xsl:template>

  <xsl:template name="section">
    <xsl:param name="k"/>
    <p style="margin-top: 14px; margin-bottom: 4px; font-size: 11pt; font-weight: bold; color: #1a3d6d;">
      <xsl:call-template name="label"><xsl:with-param name="k" select="$k"/></xsl:call-template>
    </p>
  </xsl:template>

  <xsl:template match="/taho_record">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title><xsl:call-template name="label"><xsl:with-param name="k" select="'title'"/></xsl:call-template></title>
      </head>
      <body style="font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; color: #000000;">
        <table width="100%" cellspacing="0" cellpadding="0" style="border-bottom: 2px solid #1a3d6d;">
          <tr>
            <td valign="middle" width="56"><img src="Ondrix.ico" width="48" height="48"/></td>
            <td valign="middle" style="padding-left: 8px;">
              <span style="font-size: 13pt; font-weight: bold;"><xsl:value-of select="tag_sname"/></span><br/>
              <xsl:value-of select="tag_saddress"/>
              <xsl:if test="normalize-space(tag_sindex) != ''">, <xsl:value-of select="tag_sindex"/></xsl:if><br/>
              <xsl:if test="normalize-space(tag_sphone) != ''">
                <xsl:call-template name="label"><xsl:with-param name="k" select="'phone'"/></xsl:call-template>: <xsl:value-of select="tag_sphone"/>
              </xsl:if>
            </td>
          </tr>
        </table>

        <p align="center" style="margin-top: 18px; margin-bottom: 2px; font-size: 16pt; font-weight: bold; letter-spacing: 1px;">
          <xsl:call-template name="label"><xsl:with-param name="k" select="'title'"/></xsl:call-template>
        </p>
        <p align="center" style="margin-top: 0px; font-size: 11pt;">
          <xsl:call-template name="label"><xsl:with-param name="k" select="'vehicle'"/></xsl:call-template>
          <xsl:text> </xsl:text><b><xsl:value-of select="tag_vnumber"/></b>
          <xsl:if test="normalize-space(tag_date) != ''">
            <xsl:text> </xsl:text>
            <xsl:call-template name="label"><xsl:with-param name="k" select="'of'"/></xsl:call-template>
            <xsl:text> </xsl:text>
            <b><xsl:call-template name="day"><xsl:with-param name="d" select="tag_date"/></xsl:call-template></b>
          </xsl:if>
        </p>

        <xsl:call-template name="section"><xsl:with-param name="k" select="'owner'"/></xsl:call-template>
        <table width="100%" cellspacing="0" style="border-collapse: collapse;">
          <xsl:call-template name="row"><xsl:with-param name="k" select="'cname'"/><xsl:with-param name="value" select="tag_cname"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'address'"/><xsl:with-param name="value" select="tag_address"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'phone'"/><xsl:with-param name="value" select="tag_phone"/></xsl:call-template>
        </table>

        <xsl:call-template name="section"><xsl:with-param name="k" select="'vehicle'"/></xsl:call-template>
        <table width="100%" cellspacing="0" style="border-collapse: collapse;">
          <xsl:call-template name="row"><xsl:with-param name="k" select="'vnumber'"/><xsl:with-param name="value" select="tag_vnumber"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'vin'"/><xsl:with-param name="value" select="tag_vin"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'nation'"/><xsl:with-param name="value" select="tag_nation"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'model'"/><xsl:with-param name="value" select="tag_model"/></xsl:call-template>
        </table>

        <xsl:call-template name="section"><xsl:with-param name="k" select="'calibration'"/></xsl:call-template>
        <table width="100%" cellspacing="0" style="border-collapse: collapse;">
          <xsl:call-template name="row"><xsl:with-param name="k" select="'purpose'"/><xsl:with-param name="value" select="tag_purpose"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'constantW'"/><xsl:with-param name="value" select="tag_constantW"/><xsl:with-param name="unit" select="'pulses'"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'constantK'"/><xsl:with-param name="value" select="tag_constantK"/><xsl:with-param name="unit" select="'pulses'"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'tyreL'"/><xsl:with-param name="value" select="tag_tyreL"/><xsl:with-param name="unit" select="'mm'"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'tyreS'"/><xsl:with-param name="value" select="tag_tyreS"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'maxSpeed'"/><xsl:with-param name="value" select="tag_maxSpeed"/><xsl:with-param name="unit" select="'kmh'"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'odometer'"/><xsl:with-param name="value" select="tag_odometer"/><xsl:with-param name="unit" select="'km'"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'serial'"/><xsl:with-param name="value" select="tag_serial"/></xsl:call-template>
        </table>

        <xsl:call-template name="section"><xsl:with-param name="k" select="'gsm'"/></xsl:call-template>
        <table width="100%" cellspacing="0" style="border-collapse: collapse;">
          <xsl:call-template name="row"><xsl:with-param name="k" select="'imei'"/><xsl:with-param name="value" select="tag_imei"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'apn'"/><xsl:with-param name="value" select="tag_apn"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'login'"/><xsl:with-param name="value" select="tag_login"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'host'"/><xsl:with-param name="value" select="tag_host"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'port'"/><xsl:with-param name="value" select="tag_port"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'protocol'"/><xsl:with-param name="value" select="tag_protocol"/></xsl:call-template>
          <xsl:call-template name="row"><xsl:with-param name="k" select="'period'"/><xsl:with-param name="value" select="tag_period"/></xsl:call-template>
        </table>

        <table width="100%" cellspacing="0" cellpadding="4" style="margin-top: 26px;">
          <tr>
            <td width="50%" valign="top">
              <xsl:call-template name="label"><xsl:with-param name="k" select="'date'"/></xsl:call-template>:
              <b><xsl:choose>
                <xsl:when test="normalize-space(tag_date) != ''">
                  <xsl:call-template name="day"><xsl:with-param name="d" select="tag_date"/></xsl:call-template>
                </xsl:when>
                <xsl:otherwise>____.____.________</xsl:otherwise>
              </xsl:choose></b>
            </td>
            <td width="50%" rowspan="3" align="center" valign="middle"
                style="border: 1px dashed #808080; color: #808080;">
              <br/><br/><xsl:call-template name="label"><xsl:with-param name="k" select="'stamp'"/></xsl:call-template><br/><br/><br/>
            </td>
          </tr>
          <tr>
            <td valign="bottom"><br/>
              <xsl:call-template name="label"><xsl:with-param name="k" select="'technician'"/></xsl:call-template>: ______________ / ______________<br/>
              <span style="font-size: 7pt; color: #606060;">
                <xsl:call-template name="label"><xsl:with-param name="k" select="'signature'"/></xsl:call-template>
                <xsl:text>&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;&#160;</xsl:text>
                <xsl:call-template name="label"><xsl:with-param name="k" select="'name'"/></xsl:call-template>
              </span>
            </td>
          </tr>
          <tr>
            <td valign="bottom"><br/>
              <xsl:call-template name="label"><xsl:with-param name="k" select="'received'"/></xsl:call-template>: ______________ / ______________
            </td>
          </tr>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
